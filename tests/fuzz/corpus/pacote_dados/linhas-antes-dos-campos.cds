<?xml version="1.0" encoding="UTF-8"?>
<DATAPACKET Version="2.0">
 <ROWDATA>
  <ROW Data="20240201" Valor="0.80"/>
  <ROW Valor="0.83" Data="20240101"/>
 </ROWDATA>
 <METADATA>
  <FIELDS>
   <FIELD attrname="Data" fieldtype="date" required="true"/>
   <FIELD attrname="Valor" fieldtype="r8" required="true"/>
  </FIELDS>
 </METADATA>
</DATAPACKET>
