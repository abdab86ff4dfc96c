dbMemo "SQL" ="SELECT T_受注.受注ID, T_受注.受注番号, T_受注.受注日, T_得意先.得意先コード, T_得意先.得意先名, T_社員.氏名 AS 担当者名"
    ", T_受注.納期, T_受注.受注状態, Sum(CCur([T_受注明細].[数量]*[T_受注明細].[単価]*(1-[T_受注明細].[値引率]))) "
    "AS 税抜合計\015\012FROM ((T_得意先 INNER JOIN T_受注 ON T_得意先.得意先ID = T_受注.得意先ID) LEFT JO"
    "IN T_社員 ON T_受注.担当社員ID = T_社員.社員ID) INNER JOIN T_受注明細 ON T_受注.受注ID = T_受注明細.受注ID"
    "\015\012GROUP BY T_受注.受注ID, T_受注.受注番号, T_受注.受注日, T_得意先.得意先コード, T_得意先.得意先名, T_社員."
    "氏名, T_受注.納期, T_受注.受注状態\015\012HAVING (((T_受注.受注状態)<>9))\015\012ORDER BY T_受注.受注日"
    " DESC, T_受注.受注番号;\015\012"
dbMemo "Connect" =""
dbBoolean "ReturnsRecords" ="-1"
dbInteger "ODBCTimeout" ="60"
dbByte "RecordsetType" ="0"
dbBoolean "OrderByOn" ="0"
dbByte "Orientation" ="0"
dbByte "DefaultView" ="2"
dbText "Description" ="取消を除く受注の一覧（税抜合計つき）。F_売上照会の初期表示と Excel 出力で使う。"
Begin
    Begin
        dbText "Name" ="T_受注.受注番号"
        dbInteger "ColumnWidth" ="1305"
        dbBoolean "ColumnHidden" ="0"
    End
    Begin
        dbText "Name" ="T_受注.受注日"
        dbText "Format" ="yyyy/mm/dd"
        dbInteger "ColumnWidth" ="1140"
        dbBoolean "ColumnHidden" ="0"
    End
    Begin
        dbText "Name" ="T_得意先.得意先名"
        dbInteger "ColumnWidth" ="2835"
        dbBoolean "ColumnHidden" ="0"
    End
    Begin
        dbText "Name" ="担当者名"
        dbInteger "ColumnWidth" ="1200"
        dbBoolean "ColumnHidden" ="0"
    End
    Begin
        dbText "Name" ="税抜合計"
        dbText "Format" ="#,##0"
        dbText "Caption" ="税抜合計（円）"
        dbText "Description" ="明細の 数量×単価×(1－値引率) の合計"
        dbInteger "ColumnWidth" ="1365"
        dbBoolean "ColumnHidden" ="0"
    End
End
