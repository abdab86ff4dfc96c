Version =196611
ColumnsShown =3
Begin
    Comment ="月次締め。F_月次処理 のボタンから呼ぶ。実行前に必ずバックアップを取ること。"
End
Begin
    MacroName ="月次締め"
    Condition ="MsgBox(\"前月分の月次締めを実行します。よろしいですか？\",33,\"月次締め\")<>1"
    Action ="StopMacro"
End
Begin
    Action ="Hourglass"
    Argument ="-1"
End
Begin
    Action ="SetWarnings"
    Argument ="0"
End
Begin
    Action ="TransferDatabase"
    Comment ="締め前の売上を退避用データベースへ書き出す"
    Argument ="1"
    Argument ="Microsoft Access"
    Argument ="C:\\販売管理\\バックアップ\\売上_退避.mdb"
    Argument ="0"
    Argument ="T_売上"
    Argument ="T_売上_締め前"
    Argument ="0"
    Argument ="0"
End
Begin
    Action ="OpenQuery"
    Argument ="Q_売上計上"
    Argument ="0"
    Argument ="1"
End
Begin
    Action ="OpenQuery"
    Argument ="Q_売上計上済更新"
    Argument ="0"
    Argument ="1"
End
Begin
    Action ="OpenQuery"
    Argument ="Q_月次売上作成"
    Argument ="0"
    Argument ="1"
End
Begin
    Action ="TransferText"
    Comment ="会計システム向けの CSV"
    Argument ="2"
    Argument ="売上エクスポート定義"
    Argument ="W_月次売上"
    Argument ="C:\\販売管理\\出力\\月次売上.csv"
    Argument ="-1"
    Argument =""
End
Begin
    Action ="RunCode"
    Argument ="ログ出力(\"月次締め\",Format(DateAdd(\"m\",-1,Date()),\"yyyy/mm\"))"
End
Begin
    Action ="SetWarnings"
    Argument ="-1"
End
Begin
    Action ="Hourglass"
    Argument ="0"
End
Begin
    Action ="Beep"
End
Begin
    Action ="MsgBox"
    Argument ="月次締めが終わりました。"
    Argument ="-1"
    Argument ="4"
    Argument ="月次締め"
End
Begin
    MacroName ="得意先取込"
    Action ="SetWarnings"
    Comment ="基幹システムの得意先 CSV を取り込む"
    Argument ="0"
End
Begin
    Condition ="ObjectExists(\"Table\",\"W_得意先取込\")"
    Action ="RunSQL"
    Argument ="DELETE * FROM W_得意先取込;"
    Argument ="0"
End
Begin
    Condition ="Not ObjectExists(\"Table\",\"W_得意先取込\")"
    Action ="OpenQuery"
    Argument ="Q_DDL_取込表作成"
    Argument ="0"
    Argument ="1"
End
Begin
    Action ="TransferText"
    Argument ="0"
    Argument ="得意先取込定義"
    Argument ="W_得意先取込"
    Argument ="C:\\販売管理\\取込\\得意先.csv"
    Argument ="-1"
    Argument =""
End
Begin
    Action ="RunMacro"
    Argument ="M_月次処理.取込後処理"
    Argument ="1"
    Argument =""
End
Begin
    Action ="SetWarnings"
    Argument ="-1"
End
Begin
    MacroName ="取込後処理"
    Comment ="取込後処理：新しい得意先だけを T_得意先 に追加する"
End
Begin
    Action ="RunSQL"
    Argument ="INSERT INTO T_得意先 ( 得意先コード, 得意先名, 得意先名カナ, 郵便番号, 住所1, 電話番号 ) SELECT W.得意先コード, W.得"
        "意先名, W.得意先名カナ, W.郵便番号, W.住所, W.電話番号 FROM W_得意先取込 AS W LEFT JOIN T_得意先 ON W.得意先コー"
        "ド = T_得意先.得意先コード WHERE T_得意先.得意先コード Is Null;"
    Argument ="-1"
End
Begin
    Action ="RunCode"
    Argument ="ログ出力(\"取込\",\"得意先 CSV\")"
End
Begin
    Condition ="IsLoaded(\"F_得意先マスタ\")"
    Action ="Requery"
    Argument =""
End
Begin
    MacroName ="売上表出力"
    Action ="OutputTo"
    Argument ="1"
    Argument ="Q_得意先別月別売上_クロス"
    Argument ="Microsoft Excel (*.xls)"
    Argument ="C:\\販売管理\\出力\\得意先別月別売上.xls"
    Argument ="-1"
    Argument =""
End
Begin
    MacroName ="全件表示"
    Action ="ShowAllRecords"
End
Begin
    MacroName ="取引中のみ"
    Action ="ApplyFilter"
    Argument =""
    Argument ="[取引停止]=False"
End
Begin
    MacroName ="バックアップ"
    Action ="RunCode"
    Argument ="バックアップ作成()"
End
