Version =20
VersionRequired =20
Begin Form
    AllowDeletions = NotDefault
    KeyPreview = NotDefault
    AllowDesignChanges = NotDefault
    DefaultView =0
    PictureAlignment =2
    DatasheetGridlinesBehavior =3
    Cycle =1
    GridX =24
    GridY =24
    Width =10885
    DatasheetFontHeight =9
    ItemSuffix =66
    Left =300
    Top =600
    Right =11400
    Bottom =9600
    DatasheetGridlinesColor =12632256
    RecSrcDt = Begin
        0xfaaf10dc4db4e240
    End
    RecordSource ="SELECT T_受注.*, T_得意先.得意先名, T_得意先.締日, T_得意先.与信限度額\015\012FROM T_得意先 RIGHT JOIN T_"
        "受注 ON T_得意先.得意先ID = T_受注.得意先ID\015\012ORDER BY T_受注.受注日 DESC, T_受注.受注番号 DESC;"
    Caption ="受注入力"
    OnCurrent ="[Event Procedure]"
    BeforeInsert ="[Event Procedure]"
    BeforeUpdate ="M_受注処理.入力チェック"
    AfterUpdate ="[Event Procedure]"
    OnOpen ="[Event Procedure]"
    OnClose ="[Event Procedure]"
    DatasheetFontName ="ＭＳ Ｐゴシック"
    OnKeyDown ="[Event Procedure]"
    Begin
        Begin Label
            BackStyle =0
            FontName ="ＭＳ Ｐゴシック"
        End
        Begin Line
            BorderLineStyle =0
            Width =1701
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
        Begin OptionButton
            SpecialEffect =2
            BorderLineStyle =0
            LabelX =230
            LabelY =-30
        End
        Begin CheckBox
            SpecialEffect =2
            BorderLineStyle =0
            LabelX =230
            LabelY =-30
        End
        Begin OptionGroup
            SpecialEffect =3
            BorderLineStyle =0
            Width =1701
            Height =1701
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
        Begin Subform
            SpecialEffect =2
            BorderLineStyle =0
            Width =1701
            Height =1701
        End
        Begin CustomControl
            SpecialEffect =2
            Width =4536
            Height =2835
        End
        Begin ToggleButton
            BorderLineStyle =0
            Width =283
            Height =283
            FontSize =9
            FontWeight =400
            ForeColor =-2147483630
            FontName ="ＭＳ Ｐゴシック"
        End
        Begin Tab
            BackStyle =0
            BorderLineStyle =0
            Width =5103
            Height =3402
            FontName ="ＭＳ Ｐゴシック"
        End
        Begin FormHeader
            Height =1984
            BackColor =14745599
            Name ="フォームヘッダー"
            Begin
                Begin Label
                    OverlapFlags =85
                    Left =113
                    Top =57
                    Width =2268
                    Height =454
                    FontSize =16
                    FontWeight =700
                    ForeColor =8388608
                    Name ="lblタイトル"
                    Caption ="受注入力"
                End
                Begin Label
                    SpecialEffect =2
                    BackStyle =1
                    OverlapFlags =85
                    TextAlign =2
                    Left =2551
                    Top =113
                    Width =1247
                    Height =397
                    FontSize =12
                    FontWeight =700
                    BackColor =16777215
                    ForeColor =255
                    Name ="lbl状態"
                    Caption ="受付"
                End
                Begin TextBox
                    Locked = NotDefault
                    TabStop = NotDefault
                    OverlapFlags =85
                    Left =1247
                    Top =680
                    Width =1417
                    Height =300
                    BackColor =-2147483633
                    Name ="受注番号"
                    ControlSource ="受注番号"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =170
                            Top =680
                            Width =1020
                            Height =300
                            Name ="受注番号_ラベル"
                            Caption ="受注番号"
                        End
                    End
                End
                Begin TextBox
                    OverlapFlags =85
                    IMEMode =2
                    Left =3969
                    Top =680
                    Width =1304
                    Height =300
                    TabIndex =1
                    Name ="受注日"
                    ControlSource ="受注日"
                    Format ="yyyy/mm/dd"
                    ValidationRule ="<=Date()+30"
                    ValidationText ="受注日は本日から30日以内にしてください。"
                    InputMask ="9999/99/99;0;_"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =3118
                            Top =680
                            Width =794
                            Height =300
                            Name ="受注日_ラベル"
                            Caption ="受注日"
                        End
                    End
                End
                Begin ComboBox
                    LimitToList = NotDefault
                    OverlapFlags =85
                    IMEMode =1
                    ColumnCount =4
                    ListRows =16
                    ListWidth =4819
                    Left =1247
                    Top =1077
                    Width =3401
                    Height =300
                    TabIndex =2
                    Name ="得意先ID"
                    ControlSource ="得意先ID"
                    RowSourceType ="Table/Query"
                    RowSource ="SELECT T_得意先.得意先ID, T_得意先.得意先コード, T_得意先.得意先名, T_得意先.得意先名カナ\015\012FROM T_得意先\015"
                        "\012WHERE (((T_得意先.取引停止)=False))\015\012ORDER BY T_得意先.得意先名カナ;"
                    ColumnWidths ="0;850;3969;0"
                    ValidationRule ="Is Not Null"
                    ValidationText ="得意先を選んでください。"
                    StatusBarText ="得意先名の先頭を入力すると候補を表示します"
                    AfterUpdate ="[Event Procedure]"
                    OnNotInList ="[Event Procedure]"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =113
                            Top =1077
                            Width =1077
                            Height =255
                            Name ="得意先ID_ラベル"
                            Caption ="得意先"
                        End
                    End
                End
                Begin TextBox
                    Locked = NotDefault
                    TabStop = NotDefault
                    OverlapFlags =85
                    Left =5896
                    Top =1077
                    Width =1701
                    Height =300
                    TabIndex =3
                    BackColor =-2147483633
                    Name ="txt担当者"
                    ControlSource ="=DLookUp(\"氏名\",\"T_社員\",\"社員ID=\" & Nz([担当社員ID],0))"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =5329
                            Top =1077
                            Width =510
                            Height =255
                            Name ="ラベル20"
                            Caption ="担当"
                        End
                    End
                End
                Begin TextBox
                    Locked = NotDefault
                    TabStop = NotDefault
                    OverlapFlags =85
                    Left =8107
                    Top =1077
                    Width =1417
                    Height =300
                    TabIndex =4
                    BackColor =-2147483633
                    Name ="txt締日"
                    ControlSource ="=IIf([締日]=0,\"月末締め\",[締日] & \"日締め\")"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =7597
                            Top =1077
                            Width =454
                            Height =255
                            Name ="ラベル22"
                            Caption ="締日"
                        End
                    End
                End
                Begin Line
                    BorderWidth =1
                    OverlapFlags =85
                    Top =1587
                    Width =10885
                    Name ="直線24"
                End
                Begin TextBox
                    Visible = NotDefault
                    TabStop = NotDefault
                    OverlapFlags =85
                    Left =9581
                    Top =170
                    Width =907
                    Height =300
                    TabIndex =5
                    Name ="受注ID"
                    ControlSource ="受注ID"
                End
                Begin TextBox
                    Visible = NotDefault
                    TabStop = NotDefault
                    OverlapFlags =85
                    Left =9581
                    Top =510
                    Width =907
                    Height =300
                    TabIndex =6
                    Name ="担当社員ID"
                    ControlSource ="担当社員ID"
                End
            End
        End
        Begin Section
            Height =5329
            Name ="詳細"
            Begin
                Begin Tab
                    OverlapFlags =85
                    Left =57
                    Top =57
                    Width =10771
                    Height =5216
                    Name ="tab受注"
                    OnChange ="[Event Procedure]"
                    Begin
                        Begin Page
                            Left =170
                            Top =454
                            Width =10488
                            Height =4762
                            Name ="pg明細"
                            Caption ="明細"
                            Begin
                                Begin Subform
                                    OverlapFlags =87
                                    Left =283
                                    Top =794
                                    Width =10205
                                    Height =3572
                                    Name ="sfm明細"
                                    SourceObject ="Form.F_受注明細_サブ"
                                    LinkChildFields ="受注ID"
                                    LinkMasterFields ="受注ID"
                                End
                                Begin TextBox
                                    Locked = NotDefault
                                    TabStop = NotDefault
                                    OverlapFlags =87
                                    TextAlign =3
                                    Left =3345
                                    Top =4480
                                    Width =1701
                                    Height =300
                                    TabIndex =1
                                    Name ="txt合計金額"
                                    ControlSource ="=[sfm明細].[Form]![txt税抜計]"
                                    Format ="\\\\#,##0"
                                    Begin
                                        Begin Label
                                            OverlapFlags =87
                                            Left =2494
                                            Top =4480
                                            Width =794
                                            Height =255
                                            Name ="ラベル31"
                                            Caption ="税抜合計"
                                        End
                                    End
                                End
                                Begin TextBox
                                    Locked = NotDefault
                                    TabStop = NotDefault
                                    OverlapFlags =87
                                    TextAlign =3
                                    Left =5953
                                    Top =4480
                                    Width =1417
                                    Height =300
                                    TabIndex =2
                                    Name ="txt消費税"
                                    ControlSource ="=Int(Nz([txt合計金額],0)*Nz([消費税率],0))"
                                    Format ="\\\\#,##0"
                                    Begin
                                        Begin Label
                                            OverlapFlags =87
                                            Left =5329
                                            Top =4480
                                            Width =567
                                            Height =255
                                            Name ="ラベル33"
                                            Caption ="消費税"
                                        End
                                    End
                                End
                                Begin TextBox
                                    Locked = NotDefault
                                    TabStop = NotDefault
                                    OverlapFlags =87
                                    TextAlign =3
                                    Left =8674
                                    Top =4480
                                    Width =1701
                                    Height =300
                                    FontWeight =700
                                    TabIndex =3
                                    Name ="txt税込金額"
                                    ControlSource ="=Nz([txt合計金額],0)+Nz([txt消費税],0)"
                                    Format ="\\\\#,##0"
                                    Begin
                                        Begin Label
                                            OverlapFlags =87
                                            Left =7824
                                            Top =4480
                                            Width =794
                                            Height =255
                                            Name ="ラベル35"
                                            Caption ="税込合計"
                                        End
                                    End
                                End
                            End
                        End
                        Begin Page
                            Left =170
                            Top =454
                            Width =10488
                            Height =4762
                            Name ="pg配送"
                            Caption ="配送・状態"
                            Begin
                                Begin OptionGroup
                                    OverlapFlags =87
                                    Left =397
                                    Top =794
                                    Width =2268
                                    Height =1361
                                    Name ="配送方法"
                                    ControlSource ="配送方法"
                                    AfterUpdate ="[Event Procedure]"
                                    DefaultValue ="1"
                                    Begin
                                        Begin Label
                                            BackStyle =1
                                            OverlapFlags =247
                                            Left =454
                                            Top =681
                                            Width =907
                                            Height =255
                                            BackColor =-2147483633
                                            Name ="ラベル41"
                                            Caption ="配送方法"
                                        End
                                        Begin OptionButton
                                            OverlapFlags =247
                                            Left =624
                                            Top =1078
                                            OptionValue =1
                                            Name ="opt自社便"
                                            Begin
                                                Begin Label
                                                    OverlapFlags =247
                                                    Left =851
                                                    Top =1050
                                                    Width =1247
                                                    Height =255
                                                    Name ="ラベル43"
                                                    Caption ="自社便"
                                                End
                                            End
                                        End
                                        Begin OptionButton
                                            OverlapFlags =247
                                            Left =624
                                            Top =1418
                                            TabIndex =1
                                            OptionValue =2
                                            Name ="opt宅配便"
                                            Begin
                                                Begin Label
                                                    OverlapFlags =247
                                                    Left =851
                                                    Top =1390
                                                    Width =1247
                                                    Height =255
                                                    Name ="ラベル45"
                                                    Caption ="宅配便"
                                                End
                                            End
                                        End
                                        Begin OptionButton
                                            OverlapFlags =247
                                            Left =624
                                            Top =1758
                                            TabIndex =2
                                            OptionValue =3
                                            Name ="opt引取"
                                            Begin
                                                Begin Label
                                                    OverlapFlags =247
                                                    Left =851
                                                    Top =1730
                                                    Width =1247
                                                    Height =255
                                                    Name ="ラベル47"
                                                    Caption ="お客様引取"
                                                End
                                            End
                                        End
                                    End
                                End
                                Begin OptionGroup
                                    OverlapFlags =87
                                    Left =3175
                                    Top =794
                                    Width =4932
                                    Height =794
                                    TabIndex =1
                                    Name ="受注状態"
                                    ControlSource ="受注状態"
                                    AfterUpdate ="[Event Procedure]"
                                    DefaultValue ="1"
                                    ControlTipText ="出荷済・請求済は月次処理と出荷処理で自動設定"
                                    Begin
                                        Begin Label
                                            BackStyle =1
                                            OverlapFlags =247
                                            Left =3231
                                            Top =681
                                            Width =907
                                            Height =255
                                            BackColor =-2147483633
                                            Name ="ラベル51"
                                            Caption ="受注状態"
                                        End
                                        Begin ToggleButton
                                            OverlapFlags =247
                                            Left =3288
                                            Top =1021
                                            Width =1134
                                            Height =397
                                            OptionValue =1
                                            Name ="tgl受付"
                                            Caption ="受付"
                                        End
                                        Begin ToggleButton
                                            OverlapFlags =247
                                            Left =4479
                                            Top =1021
                                            Width =1134
                                            Height =397
                                            TabIndex =1
                                            OptionValue =2
                                            Name ="tgl出荷済"
                                            Caption ="出荷済"
                                        End
                                        Begin ToggleButton
                                            OverlapFlags =247
                                            Left =5669
                                            Top =1021
                                            Width =1134
                                            Height =397
                                            TabIndex =2
                                            OptionValue =3
                                            Name ="tgl請求済"
                                            Caption ="請求済"
                                        End
                                        Begin ToggleButton
                                            OverlapFlags =247
                                            Left =6860
                                            Top =1021
                                            Width =1134
                                            Height =397
                                            TabIndex =3
                                            OptionValue =9
                                            Name ="tgl取消"
                                            Caption ="取消"
                                        End
                                    End
                                End
                                Begin CustomControl
                                    SizeMode =1
                                    SpecialEffect =0
                                    OverlapFlags =87
                                    Left =3968
                                    Top =1815
                                    Width =1871
                                    Height =340
                                    AutoActivate =1
                                    TabIndex =2
                                    Name ="dtp納期"
                                    OleData = Begin
                                        0x151c02001500000020dd1b9e87c411d18be30000f8754da14d53436f6d43746c ,
                                        0x322e44545069636b65722e320000097800d16c00733c001dac0015e90046d900 ,
                                        0x626f00eaa9008d92007f3100117a009480001ca6004e8600a35c00b69e00b789 ,
                                        0x00d7c80050b100b64100a95800b22100df1600c730006f2a00d00300d34c00b2 ,
                                        0x2c0044130020fd00661e005529007aec00f15100390300e63b008ed400154600 ,
                                        0xc88300ff5100f87500c93c009f59005aa400c606005783004d5c0056ed00e713 ,
                                        0x0077ec001b1d0040580047fe00
                                    End
                                    ControlSource ="納期"
                                    OLEClass ="DTPicker"
                                    Class ="MSComCtl2.DTPicker.2"
                                    Begin
                                        Begin Label
                                            OverlapFlags =87
                                            Left =3231
                                            Top =1815
                                            Width =680
                                            Height =255
                                            Name ="ラベル57"
                                            Caption ="納期"
                                        End
                                    End
                                End
                                Begin TextBox
                                    Locked = NotDefault
                                    TabStop = NotDefault
                                    OverlapFlags =87
                                    Left =3968
                                    Top =2268
                                    Width =1871
                                    Height =300
                                    TabIndex =3
                                    BackColor =-2147483633
                                    Name ="出荷日"
                                    ControlSource ="出荷日"
                                    Format ="yyyy/mm/dd"
                                    Begin
                                        Begin Label
                                            OverlapFlags =87
                                            Left =3231
                                            Top =2268
                                            Width =680
                                            Height =300
                                            Name ="出荷日_ラベル"
                                            Caption ="出荷日"
                                        End
                                    End
                                End
                                Begin CheckBox
                                    Locked = NotDefault
                                    TabStop = NotDefault
                                    OverlapFlags =87
                                    Left =397
                                    Top =2410
                                    TabIndex =4
                                    Name ="売上計上済"
                                    ControlSource ="売上計上済"
                                    Begin
                                        Begin Label
                                            OverlapFlags =87
                                            Left =624
                                            Top =2382
                                            Width =1247
                                            Height =255
                                            Name ="売上計上済_ラベル"
                                            Caption ="売上計上済"
                                        End
                                    End
                                End
                            End
                        End
                        Begin Page
                            Left =170
                            Top =454
                            Width =10488
                            Height =4762
                            Name ="pg備考"
                            Caption ="備考"
                            Begin
                                Begin TextBox
                                    EnterKeyBehavior = NotDefault
                                    ScrollBars =2
                                    OverlapFlags =87
                                    IMEMode =1
                                    Left =1247
                                    Top =794
                                    Width =9071
                                    Height =2268
                                    Name ="備考"
                                    ControlSource ="備考"
                                    Begin
                                        Begin Label
                                            OverlapFlags =87
                                            Left =340
                                            Top =794
                                            Width =850
                                            Height =2268
                                            Name ="備考_ラベル"
                                            Caption ="備考"
                                        End
                                    End
                                End
                                Begin TextBox
                                    DecimalPlaces =0
                                    Locked = NotDefault
                                    OverlapFlags =87
                                    TextAlign =3
                                    Left =1247
                                    Top =3232
                                    Width =850
                                    Height =300
                                    TabIndex =1
                                    BackColor =-2147483633
                                    Name ="消費税率"
                                    ControlSource ="消費税率"
                                    Format ="Percent"
                                    Begin
                                        Begin Label
                                            OverlapFlags =87
                                            Left =340
                                            Top =3232
                                            Width =850
                                            Height =300
                                            Name ="消費税率_ラベル"
                                            Caption ="税率"
                                        End
                                    End
                                End
                            End
                        End
                    End
                End
            End
        End
        Begin FormFooter
            Height =680
            BackColor =14745599
            Name ="フォームフッター"
            Begin
                Begin Line
                    BorderWidth =1
                    OverlapFlags =85
                    Width =10885
                    Name ="直線70"
                End
                Begin CommandButton
                    OverlapFlags =85
                    Left =113
                    Top =142
                    Width =1361
                    Height =397
                    Name ="cmd新規"
                    Caption ="新規(&N)"
                    OnClick ="[Event Procedure]"
                End
                Begin CommandButton
                    OverlapFlags =85
                    Left =1587
                    Top =142
                    Width =1361
                    Height =397
                    TabIndex =1
                    Name ="cmd出荷"
                    Caption ="出荷(&S)"
                    OnClick ="M_受注処理.出荷処理"
                    ControlTipText ="状態を出荷済にして納品書を表示します"
                End
                Begin CommandButton
                    OverlapFlags =85
                    Left =3061
                    Top =142
                    Width =1361
                    Height =397
                    TabIndex =2
                    Name ="cmd納品書"
                    Caption ="納品書(&P)"
                    OnClick ="M_受注処理.納品書印刷"
                End
                Begin CommandButton
                    OverlapFlags =85
                    Left =4535
                    Top =142
                    Width =1361
                    Height =397
                    TabIndex =3
                    ForeColor =255
                    Name ="cmd取消"
                    Caption ="伝票取消"
                    OnClick ="[Event Procedure]"
                End
                Begin CommandButton
                    OverlapFlags =85
                    Left =9354
                    Top =142
                    Width =1361
                    Height =397
                    TabIndex =4
                    Name ="cmd閉じる"
                    Caption ="閉じる(&C)"
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

'------------------------------------------------------------------------------
' F_受注入力 : 受注伝票の入力（明細はサブフォーム F_受注明細_サブ）
'   フォームの BeforeUpdate は M_受注処理.入力チェック マクロ
'   出荷・納品書のボタンも M_受注処理 のマクロを呼ぶ
'------------------------------------------------------------------------------

Private WithEvents m伝票 As cls_受注伝票
Private mbln変更中 As Boolean

Private Sub Form_Open(Cancel As Integer)
    If g社員ID = 0 Then
        MsgBox "ログインしてから開いてください。", vbExclamation, APP_TITLE
        Cancel = True
        Exit Sub
    End If
    DoCmd.Maximize
    Set m伝票 = New cls_受注伝票
End Sub

Private Sub Form_Close()
    Set m伝票 = Nothing
End Sub

Private Sub Form_Current()
    Dim bln編集可 As Boolean

    ' 受付中の伝票だけ編集できる
    bln編集可 = Me.NewRecord Or Nz(Me!受注状態, 状態_受付) = 状態_受付
    Me.AllowEdits = bln編集可
    Me!sfm明細.Locked = Not bln編集可
    Me!cmd出荷.Enabled = (Nz(Me!受注状態, 0) = 状態_受付) And Not Me.NewRecord
    Me!cmd取消.Enabled = bln編集可 And Not Me.NewRecord
    Me!lbl状態.Caption = 状態名(Nz(Me!受注状態, 状態_受付))

    If Not Me.NewRecord Then
        m伝票.読込 Me!受注ID
    End If
End Sub

Private Sub Form_BeforeInsert(Cancel As Integer)
    Me!受注日 = Date
    Me!受注番号 = 受注番号採番(Date)
    Me!消費税率 = 税率取得(Date)
    Me!担当社員ID = g社員ID
End Sub

Private Sub Form_AfterUpdate()
    ログ出力 "受注更新", Me!受注番号 & " " & Nz(Me!得意先名, "")
End Sub

Private Sub Form_KeyDown(KeyCode As Integer, Shift As Integer)
    ' F9 で合計を再計算、Ctrl+Enter で保存
    If KeyCode = vbKeyF9 Then
        DoCmd.RunMacro "M_受注処理.明細再計算"
        KeyCode = 0
    ElseIf KeyCode = vbKeyReturn And (Shift And acCtrlMask) > 0 Then
        DoCmd.RunCommand acCmdSaveRecord
        KeyCode = 0
    End If
End Sub

Private Sub 得意先ID_AfterUpdate()
    Dim rs As DAO.Recordset

    Set rs = CurrentDb.OpenRecordset("SELECT * FROM T_得意先 WHERE 得意先ID=" & Nz(Me!得意先ID, 0), _
                                     dbOpenSnapshot)
    Set m伝票.得意先 = rs
    If Not m伝票.与信チェック() Then
        MsgBox "この得意先は与信限度額を超えます。上長の承認を得てください。", _
               vbExclamation, "与信チェック"
    End If
End Sub

Private Sub 得意先ID_NotInList(NewData As String, Response As Integer)
    If MsgBox("「" & NewData & "」は得意先に登録されていません。" & vbCrLf & _
              "得意先マスタを開いて登録しますか？", vbYesNo + vbQuestion, Me.Caption) = vbYes Then
        DoCmd.OpenForm "F_得意先マスタ", , , , acFormAdd, acDialog
        Response = acDataErrAdded
    Else
        Response = acDataErrContinue
        Me!得意先ID.Undo
    End If
End Sub

Private Sub 受注状態_AfterUpdate()
    If Me!受注状態 = 状態_取消 Then
        If MsgBox("この受注を取り消しますか？", vbYesNo + vbExclamation, Me.Caption) = vbNo Then
            Me!受注状態.Undo
        End If
    End If
    Me!lbl状態.Caption = 状態名(Nz(Me!受注状態, 状態_受付))
End Sub

Private Sub 配送方法_AfterUpdate()
    ' お客様引取なら納期＝受注日
    If Me!配送方法 = 3 Then Me!納期 = Me!受注日
End Sub

Private Sub dtp納期_Change()
    Me.Dirty = True
End Sub

Private Sub m伝票_金額変更(ByVal 税抜合計 As Currency)
    Me!txt合計金額.Requery
End Sub

Private Sub cmd新規_Click()
    DoCmd.GoToRecord , , acNewRec
    Me!得意先ID.SetFocus
End Sub

Private Sub cmd取消_Click()
    Me!受注状態 = 状態_取消
    受注状態_AfterUpdate
End Sub

Private Sub cmd閉じる_Click()
On Error GoTo Err_cmd閉じる_Click

    If Me.Dirty Then DoCmd.RunCommand acCmdSaveRecord
    DoCmd.Close acForm, Me.Name

Exit_cmd閉じる_Click:
    Exit Sub

Err_cmd閉じる_Click:
    MsgBox Err.Description, vbExclamation, Me.Caption
    Resume Exit_cmd閉じる_Click
End Sub

Private Function 状態名(ByVal 状態 As Integer) As String
    Select Case 状態
        Case 状態_受付:   状態名 = "受付"
        Case 状態_出荷済: 状態名 = "出荷済"
        Case 状態_請求済: 状態名 = "請求済"
        Case 状態_取消:   状態名 = "取消"
        Case Else:        状態名 = "（不明）"
    End Select
End Function
