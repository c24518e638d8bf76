<?xml version="1.0" encoding="UTF-8"?>
<DATAPACKET Version="2.0">
 <METADATA>
  <FIELDS>
   <FIELD attrname="Data" fieldtype="date" required="true"/>
   <FIELD attrname="Valor" fieldtype="r8" required="true"/>
  </FIELDS>
 </METADATA>
 <ROWDATA>
  <ROW Data="00011101" Valor="1e-300"/>
  <ROW Data="18991201"/>
 </ROWDATA>
</DATAPACKET>
