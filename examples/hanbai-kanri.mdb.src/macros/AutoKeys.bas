Version =196611
ColumnsShown =1
Begin
    Comment ="ショートカットキー。Ctrl+J 受注入力、Ctrl+T 得意先、Shift+F12 売上照会"
End
Begin
    MacroName ="^J"
    Action ="OpenForm"
    Comment ="新規受注"
    Argument ="F_受注入力"
    Argument ="0"
    Argument =""
    Argument =""
    Argument ="0"
    Argument ="0"
End
Begin
    MacroName ="^T"
    Action ="OpenForm"
    Argument ="F_得意先マスタ"
    Argument ="0"
    Argument =""
    Argument =""
    Argument ="-1"
    Argument ="0"
End
Begin
    MacroName ="+{F12}"
    Action ="RunMacro"
    Argument ="M_メニュー.売上照会を開く"
    Argument =""
    Argument =""
End
