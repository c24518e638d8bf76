<?xml version="1.0" encoding="UTF-8"?>
<DATAPACKET Version="2.0">
 <METADATA>
  <FIELDS>
   <FIELD attrname="Data" fieldtype="date" required="true"/>
   <FIELD attrname="Valor" fieldtype="r8" required="true"/>
  </FIELDS>
 </METADATA>
 <ROWDATA>
  <ROW Data="20200101" Taxa="1"/>
 </ROWDATA>
</DATAPACKET>
