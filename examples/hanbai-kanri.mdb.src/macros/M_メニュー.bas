Version =196611
ColumnsShown =3
Begin
    Comment ="メインメニュー（F_メインメニュー）のボタンから呼ぶマクロ群"
End
Begin
    MacroName ="受注入力を開く"
    Action ="OpenForm"
    Argument ="F_受注入力"
    Argument ="0"
    Argument =""
    Argument =""
    Argument ="-1"
    Argument ="0"
End
Begin
    Action ="Maximize"
End
Begin
    MacroName ="得意先マスタを開く"
    Action ="OpenForm"
    Argument ="F_得意先マスタ"
    Argument ="0"
    Argument =""
    Argument =""
    Argument ="-1"
    Argument ="0"
End
Begin
    Action ="GoToRecord"
    Comment ="前回の続きから入力することが多いので最終レコードへ"
    Argument ="2"
    Argument ="F_得意先マスタ"
    Argument ="3"
    Argument =""
End
Begin
    MacroName ="商品マスタを開く"
    Action ="OpenForm"
    Argument ="F_商品マスタ"
    Argument ="0"
    Argument =""
    Argument =""
    Argument ="-1"
    Argument ="0"
End
Begin
    MacroName ="仕入先マスタを開く"
    Action ="OpenForm"
    Argument ="F_仕入先マスタ"
    Argument ="0"
    Argument =""
    Argument =""
    Argument ="-1"
    Argument ="0"
End
Begin
    MacroName ="売上照会を開く"
    Action ="OpenForm"
    Argument ="F_売上照会"
    Argument ="0"
    Argument =""
    Argument =""
    Argument ="-1"
    Argument ="0"
End
Begin
    MacroName ="月次処理を開く"
    Condition ="Not 管理者権限()"
    Action ="MsgBox"
    Comment ="権限のない担当者には開かせない"
    Argument ="月次処理は管理者だけが実行できます。"
    Argument ="-1"
    Argument ="3"
    Argument ="販売管理"
End
Begin
    Condition ="..."
    Action ="StopMacro"
End
Begin
    Action ="OpenForm"
    Argument ="F_月次処理"
    Argument ="0"
    Argument =""
    Argument =""
    Argument ="-1"
    Argument ="3"
End
Begin
    MacroName ="請求書印刷"
    Condition ="Not IsNull([Forms]![F_メインメニュー]![cbo締日])"
    Action ="OpenReport"
    Argument ="R_請求書"
    Argument ="2"
    Argument =""
    Argument ="[締日]=[Forms]![F_メインメニュー]![cbo締日]"
End
Begin
    Condition ="IsNull([Forms]![F_メインメニュー]![cbo締日])"
    Action ="MsgBox"
    Argument ="締日を選んでから［請求書］を押してください。"
    Argument ="-1"
    Argument ="4"
    Argument ="請求書"
End
Begin
    Condition ="..."
    Action ="GoToControl"
    Argument ="cbo締日"
End
Begin
    MacroName ="閉じる"
    Action ="Close"
    Comment ="作業中のフォームを保存確認なしで閉じる"
    Argument ="-1"
    Argument =""
    Argument ="2"
End
Begin
    MacroName ="終了"
    Comment ="終了：確認のうえログを書いてすべて保存して終わる"
End
Begin
    Condition ="MsgBox(\"販売管理を終了しますか？\",36,\"終了確認\")=6"
    Action ="RunCode"
    Argument ="ログ出力(\"終了\",\"メニューから終了\")"
End
Begin
    Condition ="..."
    Action ="Quit"
    Argument ="1"
End
