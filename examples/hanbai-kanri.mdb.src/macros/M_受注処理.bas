Version =196611
ColumnsShown =3
Begin
    Comment ="F_受注入力 のイベントとボタンから呼ぶ"
End
Begin
    MacroName ="入力チェック"
    Condition ="IsNull([Forms]![F_受注入力]![得意先ID])"
    Action ="MsgBox"
    Argument ="得意先を選択してください。"
    Argument ="-1"
    Argument ="3"
    Argument ="受注入力"
End
Begin
    Condition ="..."
    Action ="GoToControl"
    Argument ="得意先ID"
End
Begin
    Condition ="..."
    Action ="CancelEvent"
End
Begin
    Condition ="..."
    Action ="StopMacro"
End
Begin
    Condition ="IsNull([Forms]![F_受注入力]![納期])"
    Action ="SetValue"
    Comment ="納期が空なら受注日の1週間後にする"
    Argument ="[Forms]![F_受注入力]![納期]"
    Argument ="DateAdd(\"d\",7,[Forms]![F_受注入力]![受注日])"
End
Begin
    Condition ="IsNull([Forms]![F_受注入力]![担当社員ID])"
    Action ="SetValue"
    Argument ="[Forms]![F_受注入力]![担当社員ID]"
    Argument ="ログイン社員ID()"
End
Begin
    MacroName ="明細再計算"
    Action ="Requery"
    Comment ="サブフォームで明細を変えたとき"
    Argument ="txt合計金額"
End
Begin
    Action ="Requery"
    Argument ="txt消費税"
End
Begin
    MacroName ="出荷処理"
    Condition ="[Forms]![F_受注入力]![受注状態]<>1"
    Action ="Beep"
End
Begin
    Condition ="..."
    Action ="MsgBox"
    Argument ="この受注はすでに出荷済か取消です。"
    Argument ="0"
    Argument ="1"
    Argument ="出荷処理"
End
Begin
    Condition ="..."
    Action ="StopMacro"
End
Begin
    Action ="SetWarnings"
    Argument ="0"
End
Begin
    Action ="RunSQL"
    Comment ="確認メッセージを出さずに状態を出荷済にする"
    Argument ="UPDATE T_受注 SET 受注状態 = 2, 出荷日 = Date() WHERE 受注ID=[Forms]![F_受注入力]![受注ID];"
    Argument ="-1"
End
Begin
    Action ="SetWarnings"
    Argument ="-1"
End
Begin
    Action ="Requery"
    Argument =""
End
Begin
    Action ="OpenReport"
    Comment ="続けて納品書をプレビュー"
    Argument ="R_納品書"
    Argument ="2"
    Argument =""
    Argument ="[受注ID]=[Forms]![F_受注入力]![受注ID]"
End
Begin
    MacroName ="納品書印刷"
    Action ="OpenReport"
    Argument ="R_納品書"
    Argument ="2"
    Argument =""
    Argument ="[受注ID]=[Forms]![F_受注入力]![受注ID]"
End
Begin
    Condition ="MsgBox(\"納品書を2部印刷しますか？\",36,\"納品書\")=6"
    Action ="PrintOut"
    Argument ="0"
    Argument =""
    Argument =""
    Argument ="0"
    Argument ="2"
    Argument ="-1"
End
Begin
    MacroName ="レコード保存"
    Action ="RunCommand"
    Comment ="acCmdSaveRecord"
    Argument ="97"
End
