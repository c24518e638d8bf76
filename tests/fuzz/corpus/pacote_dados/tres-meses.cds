<?xml version="1.0" encoding="UTF-8"?>
<DATAPACKET Version="2.0">
 <METADATA>
  <FIELDS>
   <FIELD attrname="Data" fieldtype="date" required="true"/>
   <FIELD attrname="Valor" fieldtype="r8" required="true"/>
  </FIELDS>
 </METADATA>
 <ROWDATA>
  <ROW Data="20131201" Valor="0.79"/>
  <ROW Data="20140101" Valor="0.85"/>
  <ROW Data="20200101" Valor="0.38"/>
 </ROWDATA>
</DATAPACKET>
