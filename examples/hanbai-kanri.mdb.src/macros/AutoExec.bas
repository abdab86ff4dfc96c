Version =196611
ColumnsShown =2
Begin
    Comment ="販売管理 起動マクロ（Access 2000 形式）。ここでは画面の準備だけをし、処理は mdl_共通 の 起動時処理 に任せる。"
End
Begin
    Action ="Echo"
    Argument ="0"
    Argument ="販売管理を起動しています..."
End
Begin
    Action ="Hourglass"
    Argument ="-1"
End
Begin
    Condition ="Not 起動時処理()"
    Action ="MsgBox"
    Comment ="リンク切れなどで起動できないときは保存せずに終了する"
    Argument ="データベースに接続できません。システム管理者に連絡してください。"
    Argument ="-1"
    Argument ="1"
    Argument ="販売管理"
End
Begin
    Condition ="..."
    Action ="Quit"
    Argument ="2"
End
Begin
    Action ="RunCode"
    Comment ="ログイン画面はスタートアップ フォーム（F_メインメニュー）が開く"
    Argument ="ログ出力(\"起動準備\",\"AutoExec\")"
End
Begin
    Action ="Hourglass"
    Argument ="0"
End
Begin
    Action ="Echo"
    Argument ="-1"
    Argument =""
End
