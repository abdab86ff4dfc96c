Version =20
VersionRequired =20
Begin Form
    RecordSelectors = NotDefault
    AutoCenter = NotDefault
    NavigationButtons = NotDefault
    DividingLines = NotDefault
    KeyPreview = NotDefault
    AllowDesignChanges = NotDefault
    DefaultView =0
    ScrollBars =0
    BorderStyle =1
    PictureAlignment =2
    DatasheetGridlinesBehavior =3
    Cycle =1
    GridX =24
    GridY =24
    Width =9071
    DatasheetFontHeight =9
    ItemSuffix =37
    Left =1500
    Top =1200
    Right =10800
    Bottom =8400
    TimerInterval =60000
    DatasheetGridlinesColor =12632256
    Caption ="販売管理 メインメニュー"
    OnOpen ="[Event Procedure]"
    OnClose ="=終了確認()"
    DatasheetFontName ="ＭＳ Ｐゴシック"
    OnKeyDown ="[Event Procedure]"
    OnTimer ="[Event Procedure]"
    OnLoad ="[Event Procedure]"
    Begin
        Begin Label
            BackStyle =0
            FontName ="ＭＳ Ｐゴシック"
        End
        Begin Rectangle
            SpecialEffect =3
            BackStyle =0
            BorderLineStyle =0
            Width =850
            Height =850
        End
        Begin Line
            BorderLineStyle =0
            Width =1701
        End
        Begin Image
            BackStyle =0
            OldBorderStyle =0
            BorderLineStyle =0
            Width =1701
            Height =1701
            PictureAlignment =2
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
        Begin CustomControl
            SpecialEffect =2
            Width =4536
            Height =2835
        End
        Begin Tab
            BackStyle =0
            BorderLineStyle =0
            Width =5103
            Height =3402
            FontName ="ＭＳ Ｐゴシック"
        End
        Begin FormHeader
            Height =1134
            BackColor =16247774
            Name ="フォームヘッダー"
            Begin
                Begin Image
                    SizeMode =3
                    PictureType =0
                    OverlapFlags =85
                    Left =113
                    Top =113
                    Width =850
                    Height =850
                    Name ="imgロゴ"
                    Picture ="C:\\販売管理\\画像\\ロゴ.bmp"
                    PictureData = Begin
                        0x2800000020000000200000000100180000000000000c0000c40e0000c40e0000 ,
                        0x0000000000000000804000804000804000804000804000804000804000804000 ,
                        0x8040008040008040008040008040008040008040008040008040008040008040 ,
                        0x0080400080400080400080400080400080400080400080400080400080400080 ,
                        0x4000804000804000804000804000804000804000804000804000804000804000 ,
                        0x8040008040008040008040008040008040008040008040008040008040008040 ,
                        0x0080400080400080400080400080400080400080400080400080400080400080 ,
                        0x4000804000804000804000804000c07010c07010c07010c07010c07010c07010 ,
                        0xc07010c07010c07010c07010c07010c07010c07010ffffffffffffffffffc070 ,
                        0x10c07010c07010c07010c07010c07010c07010c07010c07010c07010c07010c0 ,
                        0x7010804000804000804000804000c07010c07010c07010c07010c07010c07010 ,
                        0xc07010c07010c07010c07010c07010c07010c07010ffffffffffffffffffc070 ,
                        0x10c07010c07010c07010c07010c07010c07010c07010c07010c07010c07010c0 ,
                        0x7010804000804000804000804000c07010c07010c07010c07010c07010c07010 ,
                        0xc07010c07010c07010c07010c07010c07010c07010ffffffffffffffffffc070 ,
                        0x10c07010c07010c07010c07010c07010c07010c07010c07010c07010c07010c0 ,
                        0x7010804000804000804000804000c07010c07010c07010c07010c07010c07010 ,
                        0xc07010c07010c07010c07010c07010c07010c07010ffffffffffffffffffc070 ,
                        0x10c07010c07010c07010c07010c07010c07010c07010c07010c07010c07010c0 ,
                        0x7010804000804000804000804000c07010c07010c07010c07010c07010c07010 ,
                        0xc07010c07010c07010c07010c07010c07010c07010ffffffffffffffffffc070 ,
                        0x10c07010c07010c07010c07010c07010c07010c07010c07010c07010c07010c0 ,
                        0x7010804000804000804000804000c07010c07010c07010c07010c07010c07010 ,
                        0xc07010c07010c07010c07010c07010c07010c07010ffffffffffffffffffc070 ,
                        0x10c07010c07010c07010c07010c07010c07010c07010c07010c07010c07010c0 ,
                        0x7010804000804000804000804000c07010c07010c07010c07010c07010c07010 ,
                        0xc07010c07010c07010c07010c07010c07010c07010ffffffffffffffffffc070 ,
                        0x10c07010c07010c07010c07010c07010c07010c07010c07010c07010c07010c0 ,
                        0x7010804000804000804000804000c07010c07010c07010c07010c07010c07010 ,
                        0xc07010c07010c07010c07010c07010c07010c07010ffffffffffffffffffc070 ,
                        0x10c07010c07010c07010c07010c07010c07010c07010c07010c07010c07010c0 ,
                        0x7010804000804000804000804000c07010c07010c07010c07010c07010c07010 ,
                        0xc07010c07010c07010c07010c07010c07010c07010ffffffffffffffffffc070 ,
                        0x10c07010c07010c07010c07010c07010c07010c07010c07010c07010c07010c0 ,
                        0x7010804000804000804000804000c07010c07010c07010c07010c07010c07010 ,
                        0xc07010c07010c07010c07010c07010c07010c07010ffffffffffffffffffc070 ,
                        0x10c07010c07010c07010c07010c07010c07010c07010c07010c07010c07010c0 ,
                        0x7010804000804000804000804000c07010c07010c07010c07010c07010c07010 ,
                        0xc07010c07010c07010c07010c07010c07010c07010ffffffffffffffffffc070 ,
                        0x10c07010c07010c07010c07010c07010c07010c07010c07010c07010c07010c0 ,
                        0x7010804000804000804000804000c07010c07010c07010c07010c07010c07010 ,
                        0xc07010c07010c07010c07010c07010c07010c07010ffffffffffffffffffc070 ,
                        0x10c07010c07010c07010c07010c07010c07010c07010c07010c07010c07010c0 ,
                        0x7010804000804000804000804000c07010c07010c07010c07010c07010c07010 ,
                        0xc07010c07010c07010c07010c07010c07010c07010ffffffffffffffffffc070 ,
                        0x10c07010c07010c07010c07010c07010c07010c07010c07010c07010c07010c0 ,
                        0x7010804000804000804000804000c07010c07010c07010c07010c07010c07010 ,
                        0xc07010c07010c07010c07010c07010c07010c07010ffffffffffffffffffc070 ,
                        0x10c07010c07010c07010c07010c07010c07010c07010c07010c07010c07010c0 ,
                        0x7010804000804000804000804000c07010c07010c07010c07010c07010c07010 ,
                        0xc07010c07010c07010c07010c07010c07010c07010ffffffffffffffffffc070 ,
                        0x10c07010c07010c07010c07010c07010c07010c07010c07010c07010c07010c0 ,
                        0x7010804000804000804000804000c07010c07010c07010c07010c07010c07010 ,
                        0xc07010c07010c07010c07010c07010c07010c07010ffffffffffffffffffc070 ,
                        0x10c07010c07010c07010c07010c07010c07010c07010c07010c07010c07010c0 ,
                        0x7010804000804000804000804000c07010c07010c07010c07010c07010c07010 ,
                        0xc07010c07010c07010c07010c07010c07010c07010ffffffffffffffffffc070 ,
                        0x10c07010c07010c07010c07010c07010c07010c07010c07010c07010c07010c0 ,
                        0x7010804000804000804000804000ffffffffffffffffffffffffffffffffffff ,
                        0xffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffff ,
                        0xffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffff ,
                        0xffff804000804000804000804000ffffffffffffffffffffffffffffffffffff ,
                        0xffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffff ,
                        0xffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffff ,
                        0xffff804000804000804000804000ffffffffffffffffffffffffffffffffffff ,
                        0xffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffff ,
                        0xffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffff ,
                        0xffff804000804000804000804000c07010c07010c07010c07010c07010c07010 ,
                        0xc07010c07010c07010c07010c07010c07010c07010ffffffffffffffffffc070 ,
                        0x10c07010c07010c07010c07010c07010c07010c07010c07010c07010c07010c0 ,
                        0x7010804000804000804000804000c07010c07010c07010c07010c07010c07010 ,
                        0xc07010c07010c07010c07010c07010c07010c07010ffffffffffffffffffc070 ,
                        0x10c07010c07010c07010c07010c07010c07010c07010c07010c07010c07010c0 ,
                        0x7010804000804000804000804000c07010c07010c07010c07010c07010c07010 ,
                        0xc07010c07010c07010c07010c07010c07010c07010ffffffffffffffffffc070 ,
                        0x10c07010c07010c07010c07010c07010c07010c07010c07010c07010c07010c0 ,
                        0x7010804000804000804000804000c07010c07010c07010c07010c07010c07010 ,
                        0xc07010c07010c07010c07010c07010c07010c07010ffffffffffffffffffc070 ,
                        0x10c07010c07010c07010c07010c07010c07010c07010c07010c07010c07010c0 ,
                        0x7010804000804000804000804000c07010c07010c07010c07010c07010c07010 ,
                        0xc07010c07010c07010c07010c07010c07010c07010ffffffffffffffffffc070 ,
                        0x10c07010c07010c07010c07010c07010c07010c07010c07010c07010c07010c0 ,
                        0x7010804000804000804000804000c07010c07010c07010c07010c07010c07010 ,
                        0xc07010c07010c07010c07010c07010c07010c07010ffffffffffffffffffc070 ,
                        0x10c07010c07010c07010c07010c07010c07010c07010c07010c07010c07010c0 ,
                        0x7010804000804000804000804000c07010c07010c07010c07010c07010c07010 ,
                        0xc07010c07010c07010c07010c07010c07010c07010ffffffffffffffffffc070 ,
                        0x10c07010c07010c07010c07010c07010c07010c07010c07010c07010c07010c0 ,
                        0x7010804000804000804000804000c07010c07010c07010c07010c07010c07010 ,
                        0xc07010c07010c07010c07010c07010c07010c07010ffffffffffffffffffc070 ,
                        0x10c07010c07010c07010c07010c07010c07010c07010c07010c07010c07010c0 ,
                        0x7010804000804000804000804000804000804000804000804000804000804000 ,
                        0x8040008040008040008040008040008040008040008040008040008040008040 ,
                        0x0080400080400080400080400080400080400080400080400080400080400080 ,
                        0x4000804000804000804000804000804000804000804000804000804000804000 ,
                        0x8040008040008040008040008040008040008040008040008040008040008040 ,
                        0x0080400080400080400080400080400080400080400080400080400080400080 ,
                        0x4000804000804000
                    End
                End
                Begin Label
                    OverlapFlags =85
                    Left =1077
                    Top =170
                    Width =4535
                    Height =510
                    FontSize =18
                    FontWeight =700
                    ForeColor =8388608
                    Name ="lblタイトル"
                    Caption ="販売管理システム"
                End
                Begin Label
                    OverlapFlags =85
                    TextAlign =3
                    Left =5839
                    Top =170
                    Width =3061
                    Height =255
                    Name ="lbl時計"
                    Caption ="2004年11月15日(月) 10:23"
                End
                Begin Label
                    OverlapFlags =85
                    TextAlign =3
                    Left =5839
                    Top =510
                    Width =3061
                    Height =255
                    Name ="lblログイン者"
                    Caption ="担当："
                End
                Begin Line
                    BorderWidth =2
                    OverlapFlags =85
                    Top =1077
                    Width =9071
                    BorderColor =8388608
                    Name ="直線12"
                End
            End
        End
        Begin Section
            Height =5102
            Name ="詳細"
            Begin
                Begin Tab
                    OverlapFlags =85
                    Left =113
                    Top =113
                    Width =8844
                    Height =4819
                    FontSize =10
                    Name ="tabメニュー"
                    Begin
                        Begin Page
                            Left =227
                            Top =567
                            Width =8617
                            Height =4309
                            Name ="pg日次業務"
                            Caption ="日次業務"
                            Begin
                                Begin Rectangle
                                    SpecialEffect =0
                                    OverlapFlags =93
                                    Left =340
                                    Top =737
                                    Width =4025
                                    Height =3685
                                    Name ="四角形20"
                                End
                                Begin CommandButton
                                    OverlapFlags =87
                                    Left =567
                                    Top =907
                                    Width =3572
                                    Height =567
                                    FontSize =11
                                    FontWeight =700
                                    Name ="cmd受注入力"
                                    Caption ="受注入力(&J)"
                                    OnClick ="M_メニュー.受注入力を開く"
                                    ControlTipText ="受注伝票を入力します（F2）"
                                End
                                Begin CommandButton
                                    OverlapFlags =87
                                    Left =567
                                    Top =1644
                                    Width =3572
                                    Height =567
                                    FontSize =11
                                    TabIndex =1
                                    Name ="cmd売上照会"
                                    Caption ="売上照会(&U)"
                                    OnClick ="M_メニュー.売上照会を開く"
                                    ControlTipText ="期間・得意先で売上を検索します（F3）"
                                End
                                Begin CommandButton
                                    OverlapFlags =87
                                    Left =567
                                    Top =2381
                                    Width =3572
                                    Height =567
                                    FontSize =11
                                    TabIndex =2
                                    Name ="cmd在庫照会"
                                    Caption ="在庫照会"
                                    OnClick ="[Event Procedure]"
                                    ControlTipText ="基幹システムの在庫を表示します"
                                End
                                Begin CommandButton
                                    OverlapFlags =87
                                    Left =567
                                    Top =3118
                                    Width =3572
                                    Height =567
                                    FontSize =11
                                    TabIndex =3
                                    Name ="cmd住所録"
                                    Caption ="宛名一覧"
                                    OnClick ="[Event Procedure]"
                                End
                                Begin Label
                                    OverlapFlags =87
                                    Left =4592
                                    Top =907
                                    Width =3742
                                    Height =255
                                    ForeColor =8421504
                                    Name ="ラベル25"
                                    Caption ="伝票入力と照会"
                                End
                            End
                        End
                        Begin Page
                            Left =227
                            Top =567
                            Width =8617
                            Height =4309
                            Name ="pgマスタ管理"
                            Caption ="マスタ管理"
                            Begin
                                Begin CommandButton
                                    OverlapFlags =87
                                    Left =567
                                    Top =907
                                    Width =3572
                                    Height =567
                                    FontSize =11
                                    Name ="cmd得意先"
                                    Caption ="得意先マスタ(&T)"
                                    OnClick ="M_メニュー.得意先マスタを開く"
                                End
                                Begin CommandButton
                                    OverlapFlags =87
                                    Left =567
                                    Top =1644
                                    Width =3572
                                    Height =567
                                    FontSize =11
                                    TabIndex =1
                                    Name ="cmd商品"
                                    Caption ="商品マスタ(&S)"
                                    OnClick ="M_メニュー.商品マスタを開く"
                                End
                                Begin CommandButton
                                    OverlapFlags =87
                                    Left =567
                                    Top =2381
                                    Width =3572
                                    Height =567
                                    FontSize =11
                                    TabIndex =2
                                    Name ="cmd仕入先"
                                    Caption ="仕入先マスタ"
                                    OnClick ="M_メニュー.仕入先マスタを開く"
                                End
                            End
                        End
                        Begin Page
                            Left =227
                            Top =567
                            Width =8617
                            Height =4309
                            Name ="pg月次処理"
                            Caption ="月次・請求"
                            Begin
                                Begin ComboBox
                                    LimitToList = NotDefault
                                    RowSourceTypeInt =1
                                    OverlapFlags =87
                                    ColumnCount =2
                                    Left =2268
                                    Top =907
                                    Width =1701
                                    Height =300
                                    BoundColumn =1
                                    Name ="cbo締日"
                                    RowSourceType ="Value List"
                                    RowSource ="0;月末;10;10日;15;15日;20;20日;25;25日"
                                    ColumnWidths ="0;1701"
                                    StatusBarText ="請求書を印刷する締日を選んでください"
                                    Begin
                                        Begin Label
                                            OverlapFlags =87
                                            Left =567
                                            Top =907
                                            Width =1644
                                            Height =255
                                            Name ="ラベル31"
                                            Caption ="締日"
                                        End
                                    End
                                End
                                Begin CommandButton
                                    OverlapFlags =87
                                    Left =4252
                                    Top =850
                                    Width =2268
                                    Height =454
                                    TabIndex =1
                                    Name ="cmd請求書"
                                    Caption ="請求書(&B)"
                                    OnClick ="M_メニュー.請求書印刷"
                                End
                                Begin CommandButton
                                    OverlapFlags =87
                                    Left =4252
                                    Top =1531
                                    Width =2268
                                    Height =454
                                    TabIndex =2
                                    Name ="cmd月次処理"
                                    Caption ="月次処理..."
                                    OnClick ="M_メニュー.月次処理を開く"
                                End
                            End
                        End
                        Begin Page
                            Left =227
                            Top =567
                            Width =8617
                            Height =4309
                            Name ="pgカレンダー"
                            Caption ="カレンダー"
                            Begin
                                Begin CustomControl
                                    SizeMode =1
                                    OverlapFlags =87
                                    Left =567
                                    Top =850
                                    Width =4535
                                    Height =3118
                                    AutoActivate =1
                                    Name ="calカレンダー"
                                    OleData = Begin
                                        0x151c0200110000008e27c92b1264101c8a2f040224009c024d5343414c2e4361 ,
                                        0x6c656e6461722e3700004e74001325002e3100cd130012ed0069660024fc00d7 ,
                                        0xda002097006a06006ec200d40300682800571e005dee005ec0009111005d3b00 ,
                                        0x3ec200a416006ee500941100289a004cf500347c00caf00095f3001b0b0068d5 ,
                                        0x0004f900b7290055570099be00c01000870200e57f00d23500fb8f009dee003b ,
                                        0xe100cc8c00f5bf00c20b00f86b00e54f00b6070046e9004b2a00d4e5004fe100 ,
                                        0x11120018a30018f700
                                    End
                                    OLEClass ="カレンダー コントロール 9.0"
                                    Class ="MSCAL.Calendar.7"
                                End
                                Begin Label
                                    OverlapFlags =87
                                    Left =5329
                                    Top =850
                                    Width =3118
                                    Height =510
                                    Name ="ラベル40"
                                    Caption ="ダブルクリックでその日の受注を開きます"
                                End
                            End
                        End
                    End
                End
            End
        End
        Begin FormFooter
            Height =624
            BackColor =16247774
            Name ="フォームフッター"
            Begin
                Begin Label
                    OverlapFlags =85
                    Left =113
                    Top =170
                    Width =5669
                    Height =255
                    ForeColor =8421504
                    Name ="lblバージョン"
                    Caption ="販売管理 Ver.2.3.1  (C) 2001-2004 株式会社ミナト文具 営業システム課"
                End
                Begin CommandButton
                    OverlapFlags =85
                    Left =7370
                    Top =113
                    Width =1587
                    Height =397
                    Name ="cmd終了"
                    Caption ="終了(&X)"
                    OnClick ="M_メニュー.終了"
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

'------------------------------------------------------------------------------
' F_メインメニュー : 起動後に開くメニュー（スタートアップ フォーム）
'   ボタンの多くは M_メニュー のマクロを直接呼んでいる
'------------------------------------------------------------------------------

Private Sub Form_Open(Cancel As Integer)
    ' ログインせずに開かれたらログイン画面へ
    If g社員ID = 0 Then
        DoCmd.OpenForm "F_ログイン", , , , , acDialog
        If g社員ID = 0 Then
            Cancel = True
            Exit Sub
        End If
    End If
    Me.Caption = APP_TITLE & " Ver." & APP_VERSION
End Sub

Private Sub Form_Load()
    Me!lblログイン者.Caption = "担当：" & g社員名
    Me!pg月次処理.Visible = g管理者           ' 月次処理のページは管理者だけ
    Me!lbl時計.Caption = Format$(Now(), "yyyy年m月d日(aaa) hh:nn")
    Me!calカレンダー.Value = Date
End Sub

Private Sub Form_Timer()
    ' TimerInterval = 60000（1分ごとに時計を更新）
    Me!lbl時計.Caption = Format$(Now(), "yyyy年m月d日(aaa) hh:nn")
End Sub

Private Sub Form_KeyDown(KeyCode As Integer, Shift As Integer)
    Select Case KeyCode
        Case vbKeyF2
            DoCmd.RunMacro "M_メニュー.受注入力を開く"
            KeyCode = 0
        Case vbKeyF3
            DoCmd.RunMacro "M_メニュー.売上照会を開く"
            KeyCode = 0
        Case vbKeyEscape
            KeyCode = 0                         ' Esc でメニューを閉じさせない
    End Select
End Sub

Private Sub cmd在庫照会_Click()
On Error GoTo Err_cmd在庫照会_Click

    DoCmd.OpenQuery "Q_PT_在庫照会", acViewNormal, acReadOnly

Exit_cmd在庫照会_Click:
    Exit Sub

Err_cmd在庫照会_Click:
    MsgBox "基幹DBに接続できません。" & vbCrLf & Err.Description, vbExclamation, APP_TITLE
    Resume Exit_cmd在庫照会_Click
End Sub

Private Sub cmd住所録_Click()
    DoCmd.OpenQuery "Q_住所録_得意先仕入先", acViewNormal, acReadOnly
End Sub

Private Sub calカレンダー_DblClick()
    ' カレンダーの日付で受注入力を開く
    DoCmd.OpenForm "F_受注入力", , , "受注日=#" & Format$(Me!calカレンダー.Value, "mm/dd/yyyy") & "#"
End Sub
