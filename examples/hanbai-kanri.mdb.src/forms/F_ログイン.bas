Version =20
VersionRequired =20
Begin Form
    PopUp = NotDefault
    Modal = NotDefault
    RecordSelectors = NotDefault
    MaxButton = NotDefault
    MinButton = NotDefault
    AutoCenter = NotDefault
    NavigationButtons = NotDefault
    DividingLines = NotDefault
    AllowDesignChanges = NotDefault
    DefaultView =0
    ScrollBars =0
    BorderStyle =3
    PictureAlignment =2
    DatasheetGridlinesBehavior =3
    GridX =24
    GridY =24
    Width =5102
    DatasheetFontHeight =9
    ItemSuffix =18
    Left =3000
    Top =2500
    Right =8300
    Bottom =5200
    DatasheetGridlinesColor =12632256
    Caption ="ログイン"
    DatasheetFontName ="ＭＳ Ｐゴシック"
    OnLoad ="[Event Procedure]"
    Begin
        Begin Label
            BackStyle =0
            FontName ="ＭＳ Ｐゴシック"
        End
        Begin CommandButton
            BorderLineStyle =0
            Width =1701
            Height =283
            FontSize =9
            FontWeight =400
            ForeColor =-2147483630
            FontName ="ＭＳ Ｐゴシック"
        End
        Begin CheckBox
            SpecialEffect =2
            BorderLineStyle =0
            LabelX =230
            LabelY =-30
        End
        Begin TextBox
            FELineBreak = NotDefault
            SpecialEffect =2
            OldBorderStyle =0
            BorderLineStyle =0
            Width =1701
            LabelX =-1701
            FontName ="ＭＳ Ｐゴシック"
            AsianLineBreak =255
        End
        Begin ComboBox
            SpecialEffect =2
            BorderLineStyle =0
            Width =1701
            LabelX =-1701
            FontName ="ＭＳ Ｐゴシック"
        End
        Begin Section
            Height =2721
            Name ="詳細"
            Begin
                Begin Label
                    OverlapFlags =85
                    Left =227
                    Top =170
                    Width =4648
                    Height =255
                    Name ="ラベル0"
                    Caption ="担当者を選び、パスワードを入力してください。"
                End
                Begin ComboBox
                    LimitToList = NotDefault
                    OverlapFlags =85
                    IMEMode =2
                    ColumnCount =3
                    ListRows =12
                    ListWidth =3118
                    Left =1587
                    Top =567
                    Width =3061
                    Height =300
                    Name ="cbo担当者"
                    RowSourceType ="Table/Query"
                    RowSource ="SELECT T_社員.社員ID, T_社員.社員コード, T_社員.氏名\015\012FROM T_社員\015\012WHERE (((T_社員.退職区分"
                        ")=False) AND ((T_社員.部署コード) In (\"EI\",\"KA\",\"SO\")))\015\012ORDER BY T_社員.社員コー"
                        "ド;"
                    ColumnWidths ="0;850;2268"
                    StatusBarText ="一覧にない場合はシステム管理者に連絡してください"
                    AfterUpdate ="[Event Procedure]"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =227
                            Top =567
                            Width =1304
                            Height =255
                            Name ="ラベル2"
                            Caption ="担当者"
                        End
                    End
                End
                Begin TextBox
                    OverlapFlags =85
                    IMEMode =3
                    Left =1587
                    Top =1020
                    Width =3061
                    Height =300
                    TabIndex =1
                    Name ="txtパスワード"
                    OnKeyPress ="[Event Procedure]"
                    InputMask ="Password"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =227
                            Top =1020
                            Width =1304
                            Height =255
                            Name ="ラベル4"
                            Caption ="パスワード"
                        End
                    End
                End
                Begin CheckBox
                    OverlapFlags =85
                    Left =1587
                    Top =1474
                    TabIndex =2
                    Name ="chk記憶"
                    DefaultValue ="False"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =1814
                            Top =1446
                            Width =2835
                            Height =255
                            Name ="ラベル6"
                            Caption ="次回もこの担当者を表示する"
                        End
                    End
                End
                Begin Label
                    OverlapFlags =85
                    Left =227
                    Top =1870
                    Width =4648
                    Height =255
                    ForeColor =255
                    Name ="lblメッセージ"
                    Caption =""
                End
                Begin CommandButton
                    Default = NotDefault
                    OverlapFlags =85
                    Left =2154
                    Top =2211
                    Width =1304
                    Height =397
                    TabIndex =3
                    Name ="cmdOK"
                    Caption ="OK"
                    OnClick ="[Event Procedure]"
                End
                Begin CommandButton
                    Cancel = NotDefault
                    OverlapFlags =85
                    Left =3571
                    Top =2211
                    Width =1304
                    Height =397
                    TabIndex =4
                    Name ="cmdキャンセル"
                    Caption ="キャンセル"
                    OnClick ="[Event Procedure]"
                End
            End
        End
    End
End
CodeBehindForm
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = True
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Compare Database
Option Explicit

' F_ログイン : 担当者の選択（AutoExec からダイアログで開く）

Private Const REG_APP As String = "販売管理"

Private Sub Form_Load()
    Dim v As Variant
    v = GetSetting(REG_APP, "ログイン", "前回の担当者", "")
    If Len(v) > 0 Then
        Me!cbo担当者 = CLng(v)
        Me!chk記憶 = True
        Me!txtパスワード.SetFocus
    End If
End Sub

Private Sub cbo担当者_AfterUpdate()
    Me!txtパスワード = Null
    Me!lblメッセージ.Caption = ""
End Sub

Private Sub txtパスワード_KeyPress(KeyAscii As Integer)
    If KeyAscii = vbKeyReturn Then
        KeyAscii = 0
        cmdOK_Click
    End If
End Sub

Private Sub cmdOK_Click()
    Dim varPw As Variant

    If IsNull(Me!cbo担当者) Then
        Me!lblメッセージ.Caption = "担当者を選んでください。"
        Me!cbo担当者.SetFocus
        Exit Sub
    End If

    varPw = DLookup("パスワード", "T_社員", "社員ID=" & Me!cbo担当者)
    If Nz(varPw, "") <> Nz(Me!txtパスワード, "") Then
        Me!lblメッセージ.Caption = "パスワードが違います。"
        Beep
        Me!txtパスワード = Null
        Me!txtパスワード.SetFocus
        Exit Sub
    End If

    g社員ID = Me!cbo担当者
    g社員名 = Me!cbo担当者.Column(2)
    g管理者 = Nz(DLookup("管理者", "T_社員", "社員ID=" & g社員ID), False)
    If Me!chk記憶 Then
        SaveSetting REG_APP, "ログイン", "前回の担当者", CStr(g社員ID)
    Else
        DeleteSetting REG_APP, "ログイン"
    End If
    ログ出力 "ログイン", g社員名
    DoCmd.Close acForm, Me.Name
    DoCmd.OpenForm "F_メインメニュー"
End Sub

Private Sub cmdキャンセル_Click()
    If MsgBox("販売管理を終了します。", vbOKCancel + vbQuestion, APP_TITLE) = vbOK Then
        DoCmd.Quit acQuitSaveNone
    End If
End Sub
