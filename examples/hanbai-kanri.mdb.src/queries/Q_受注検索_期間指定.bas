dbMemo "SQL" ="PARAMETERS [開始日] DateTime, [終了日] DateTime, [得意先コード（空欄で全件）] Text ( 255 );\015\012"
    "SELECT T_受注.受注番号, T_受注.受注日, T_得意先.得意先コード, T_得意先.得意先名, T_商品.商品名, T_受注明細.数量, T_受注明"
    "細.単価, CCur([数量]*[単価]*(1-[値引率])) AS 金額\015\012FROM T_商品 INNER JOIN ((T_得意先 INNER "
    "JOIN T_受注 ON T_得意先.得意先ID = T_受注.得意先ID) INNER JOIN T_受注明細 ON T_受注.受注ID = T_受注明細.受"
    "注ID) ON T_商品.商品ID = T_受注明細.商品ID\015\012WHERE (((T_受注.受注日) Between [開始日] And [終了日"
    "]) AND ((T_得意先.得意先コード) Like Nz([得意先コード（空欄で全件）],\"*\")) AND ((T_受注.受注状態)<>9))\015"
    "\012ORDER BY T_受注.受注日, T_受注.受注番号, T_受注明細.行番号;\015\012"
dbMemo "Connect" =""
dbBoolean "ReturnsRecords" ="-1"
dbInteger "ODBCTimeout" ="60"
dbByte "RecordsetType" ="0"
dbBoolean "OrderByOn" ="0"
dbByte "Orientation" ="0"
dbByte "DefaultView" ="2"
dbText "Description" ="期間と得意先コードを尋ねて受注明細を抽出する。"
Begin
    Begin
        dbText "Name" ="T_受注.受注番号"
        dbInteger "ColumnWidth" ="1305"
        dbBoolean "ColumnHidden" ="0"
    End
    Begin
        dbText "Name" ="金額"
        dbText "Format" ="#,##0"
        dbInteger "ColumnWidth" ="1365"
        dbBoolean "ColumnHidden" ="0"
    End
End
