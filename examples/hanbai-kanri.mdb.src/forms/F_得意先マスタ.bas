Version =20
VersionRequired =20
Begin Form
    AutoCenter = NotDefault
    AllowDesignChanges = NotDefault
    DefaultView =0
    ScrollBars =2
    PictureAlignment =2
    DatasheetGridlinesBehavior =3
    Cycle =1
    GridX =24
    GridY =24
    Width =9638
    DatasheetFontHeight =9
    ItemSuffix =52
    Left =600
    Top =900
    Right =10500
    Bottom =8100
    DatasheetGridlinesColor =12632256
    OrderBy ="得意先名カナ"
    RecSrcDt = Begin
        0xfaaf10dc4db4e240
    End
    RecordSource ="T_得意先"
    Caption ="得意先マスタ"
    OnCurrent ="[Event Procedure]"
    BeforeUpdate ="[Event Procedure]"
    OnDelete ="[Event Procedure]"
    DatasheetFontName ="ＭＳ Ｐゴシック"
    OnError ="[Event Procedure]"
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
        Begin PageBreak
            Width =283
        End
        Begin FormHeader
            Height =964
            BackColor =14745599
            Name ="フォームヘッダー"
            Begin
                Begin Label
                    OverlapFlags =85
                    Left =113
                    Top =57
                    Width =3401
                    Height =454
                    FontSize =16
                    FontWeight =700
                    ForeColor =8388608
                    Name ="lblタイトル"
                    Caption ="得意先マスタ"
                End
                Begin ComboBox
                    LimitToList = NotDefault
                    OverlapFlags =85
                    IMEMode =1
                    ColumnCount =3
                    ListRows =16
                    ListWidth =4535
                    Left =5669
                    Top =170
                    Width =3685
                    Height =300
                    Name ="cbo検索"
                    RowSourceType ="Table/Query"
                    RowSource ="SELECT T_得意先.得意先ID, T_得意先.得意先コード, T_得意先.得意先名\015\012FROM T_得意先\015\012ORDER BY T"
                        "_得意先.得意先名カナ;"
                    ColumnWidths ="0;850;3685"
                    StatusBarText ="得意先名で検索します（フリガナ順）"
                    AfterUpdate ="[Event Procedure]"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =4989
                            Top =170
                            Width =624
                            Height =255
                            Name ="ラベル13"
                            Caption ="検索"
                        End
                    End
                End
                Begin Line
                    BorderWidth =1
                    OverlapFlags =85
                    Top =907
                    Width =9638
                    Name ="直線15"
                End
            End
        End
        Begin Section
            Height =6803
            Name ="詳細"
            Begin
                Begin TextBox
                    OverlapFlags =85
                    IMEMode =2
                    Left =1701
                    Top =227
                    Width =1134
                    Height =300
                    Name ="得意先コード"
                    ControlSource ="得意先コード"
                    StatusBarText ="K に続く4桁"
                    InputMask =">L0000;;_"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =227
                            Top =227
                            Width =1417
                            Height =300
                            Name ="得意先コード_ラベル"
                            Caption ="得意先コード"
                        End
                    End
                End
                Begin TextBox
                    OverlapFlags =85
                    IMEMode =1
                    Left =1701
                    Top =624
                    Width =5102
                    Height =300
                    TabIndex =1
                    Name ="得意先名"
                    ControlSource ="得意先名"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =227
                            Top =624
                            Width =1417
                            Height =300
                            Name ="得意先名_ラベル"
                            Caption ="得意先名"
                        End
                    End
                End
                Begin TextBox
                    OverlapFlags =85
                    IMEMode =6
                    Left =1701
                    Top =1020
                    Width =5102
                    Height =300
                    TabIndex =2
                    Name ="得意先名カナ"
                    ControlSource ="得意先名カナ"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =227
                            Top =1020
                            Width =1417
                            Height =300
                            Name ="得意先名カナ_ラベル"
                            Caption ="フリガナ"
                        End
                    End
                End
                Begin TextBox
                    OverlapFlags =85
                    IMEMode =2
                    Left =1701
                    Top =1417
                    Width =1134
                    Height =300
                    TabIndex =3
                    Name ="郵便番号"
                    ControlSource ="郵便番号"
                    AfterUpdate ="[Event Procedure]"
                    InputMask ="000\\-0000;;_"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =227
                            Top =1417
                            Width =1417
                            Height =300
                            Name ="郵便番号_ラベル"
                            Caption ="郵便番号"
                        End
                    End
                End
                Begin ComboBox
                    LimitToList = NotDefault
                    RowSourceTypeInt =1
                    OverlapFlags =85
                    IMEMode =1
                    ListRows =16
                    Left =4082
                    Top =1417
                    Width =1417
                    Height =300
                    TabIndex =4
                    Name ="都道府県"
                    ControlSource ="都道府県"
                    RowSourceType ="Value List"
                    RowSource ="北海道;青森県;岩手県;宮城県;秋田県;山形県;福島県;茨城県;栃木県;群馬県;埼玉県;千葉県;東京都;神奈川県;新潟県;富山県;石川県;福井県;山梨県;長野県"
                        ";岐阜県;静岡県;愛知県;三重県;滋賀県;京都府;大阪府;兵庫県;奈良県;和歌山県;鳥取県;島根県;岡山県;広島県;山口県;徳島県;香川県;愛媛県;高知県;福岡"
                        "県;佐賀県;長崎県;熊本県;大分県;宮崎県;鹿児島県;沖縄県"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =3005
                            Top =1417
                            Width =1020
                            Height =255
                            Name ="都道府県_ラベル"
                            Caption ="都道府県"
                        End
                    End
                End
                Begin TextBox
                    OverlapFlags =85
                    IMEMode =1
                    Left =1701
                    Top =1814
                    Width =6236
                    Height =300
                    TabIndex =5
                    Name ="住所1"
                    ControlSource ="住所1"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =227
                            Top =1814
                            Width =1417
                            Height =300
                            Name ="住所1_ラベル"
                            Caption ="住所"
                        End
                    End
                End
                Begin TextBox
                    OverlapFlags =85
                    IMEMode =1
                    Left =1701
                    Top =2211
                    Width =6236
                    Height =300
                    TabIndex =6
                    Name ="住所2"
                    ControlSource ="住所2"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =227
                            Top =2211
                            Width =1417
                            Height =300
                            Name ="住所2_ラベル"
                            Caption ="建物名"
                        End
                    End
                End
                Begin TextBox
                    OverlapFlags =85
                    IMEMode =2
                    Left =1701
                    Top =2608
                    Width =2041
                    Height =300
                    TabIndex =7
                    Name ="電話番号"
                    ControlSource ="電話番号"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =227
                            Top =2608
                            Width =1417
                            Height =300
                            Name ="電話番号_ラベル"
                            Caption ="電話番号"
                        End
                    End
                End
                Begin TextBox
                    OverlapFlags =85
                    IMEMode =2
                    Left =5442
                    Top =2608
                    Width =2041
                    Height =300
                    TabIndex =8
                    Name ="FAX番号"
                    ControlSource ="FAX番号"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =4308
                            Top =2608
                            Width =1077
                            Height =300
                            Name ="FAX番号_ラベル"
                            Caption ="FAX番号"
                        End
                    End
                End
                Begin ComboBox
                    LimitToList = NotDefault
                    OverlapFlags =85
                    ColumnCount =3
                    ListWidth =3118
                    Left =1701
                    Top =3005
                    Width =2268
                    Height =300
                    TabIndex =9
                    Name ="担当社員ID"
                    ControlSource ="担当社員ID"
                    RowSourceType ="Table/Query"
                    RowSource ="SELECT T_社員.社員ID, T_社員.社員コード, T_社員.氏名\015\012FROM T_社員\015\012WHERE (((T_社員.退職区分"
                        ")=False))\015\012ORDER BY T_社員.社員コード;"
                    ColumnWidths ="0;850;2268"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =227
                            Top =3005
                            Width =1417
                            Height =255
                            Name ="担当社員ID_ラベル"
                            Caption ="営業担当"
                        End
                    End
                End
                Begin CommandButton
                    OverlapFlags =85
                    Left =7654
                    Top =3005
                    Width =1701
                    Height =340
                    TabIndex =10
                    Name ="cmd次ページ"
                    Caption ="取引条件 >>"
                    OnClick ="[Event Procedure]"
                End
                Begin PageBreak
                    Top =3458
                    Name ="改ページ30"
                End
                Begin Label
                    OverlapFlags =85
                    Left =227
                    Top =3571
                    Width =1701
                    Height =255
                    FontWeight =700
                    Name ="ラベル31"
                    Caption ="取引条件"
                End
                Begin TextBox
                    OverlapFlags =85
                    TextAlign =3
                    Left =1701
                    Top =3911
                    Width =567
                    Height =300
                    TabIndex =11
                    Name ="締日"
                    ControlSource ="締日"
                    ValidationRule ="Between 0 And 31"
                    ValidationText ="締日は 0～31 で入力してください（0 は月末）。"
                    StatusBarText ="0 は月末締め"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =227
                            Top =3911
                            Width =1417
                            Height =300
                            Name ="締日_ラベル"
                            Caption ="締日"
                        End
                    End
                End
                Begin TextBox
                    OverlapFlags =85
                    TextAlign =3
                    Left =1701
                    Top =4308
                    Width =1701
                    Height =300
                    TabIndex =12
                    Name ="与信限度額"
                    ControlSource ="与信限度額"
                    Format ="\\\\#,##0"
                    ValidationRule =">=0"
                    ValidationText ="与信限度額にマイナスは入力できません。"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =227
                            Top =4308
                            Width =1417
                            Height =300
                            Name ="与信限度額_ラベル"
                            Caption ="与信限度額"
                        End
                    End
                End
                Begin TextBox
                    IsHyperlink = NotDefault
                    OverlapFlags =85
                    Left =1701
                    Top =4705
                    Width =5669
                    Height =300
                    TabIndex =13
                    ForeColor =16711680
                    Name ="ホームページ"
                    ControlSource ="ホームページ"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =227
                            Top =4705
                            Width =1417
                            Height =300
                            Name ="ホームページ_ラベル"
                            Caption ="ホームページ"
                        End
                    End
                End
                Begin CheckBox
                    OverlapFlags =85
                    Left =1701
                    Top =5102
                    TabIndex =14
                    Name ="取引停止"
                    ControlSource ="取引停止"
                    StatusBarText ="チェックすると受注入力の候補に出なくなります"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =1928
                            Top =5074
                            Width =1134
                            Height =255
                            Name ="取引停止_ラベル"
                            Caption ="取引停止"
                        End
                    End
                End
                Begin TextBox
                    Locked = NotDefault
                    TabStop = NotDefault
                    OverlapFlags =85
                    Left =5669
                    Top =5102
                    Width =1417
                    Height =300
                    TabIndex =15
                    BackColor =-2147483633
                    Name ="登録日"
                    ControlSource ="登録日"
                    Format ="yyyy/mm/dd"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =4648
                            Top =5102
                            Width =964
                            Height =300
                            Name ="登録日_ラベル"
                            Caption ="登録日"
                        End
                    End
                End
                Begin TextBox
                    EnterKeyBehavior = NotDefault
                    ScrollBars =2
                    OverlapFlags =85
                    IMEMode =1
                    Left =1701
                    Top =5499
                    Width =7370
                    Height =1134
                    TabIndex =16
                    Name ="備考"
                    ControlSource ="備考"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =227
                            Top =5499
                            Width =1417
                            Height =1134
                            Name ="備考_ラベル"
                            Caption ="備考"
                        End
                    End
                End
            End
        End
        Begin FormFooter
            Height =567
            BackColor =14745599
            Name ="フォームフッター"
            Begin
                Begin CommandButton
                    OverlapFlags =85
                    Left =227
                    Top =85
                    Width =1417
                    Height =397
                    Name ="cmd新規"
                    Caption ="新規(&N)"
                    OnClick ="[Event Procedure]"
                End
                Begin CommandButton
                    OverlapFlags =85
                    Left =1757
                    Top =85
                    Width =1417
                    Height =397
                    TabIndex =1
                    Name ="cmd削除"
                    Caption ="削除(&D)"
                    OnClick ="[Event Procedure]"
                End
                Begin CommandButton
                    OverlapFlags =85
                    Left =7937
                    Top =85
                    Width =1417
                    Height =397
                    TabIndex =2
                    Name ="cmd閉じる"
                    Caption ="閉じる(&C)"
                    OnClick ="M_メニュー.閉じる"
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
' F_得意先マスタ : 得意先の登録・修正
'   1ページ目 基本情報、2ページ目（PageDown）取引条件
'------------------------------------------------------------------------------

Private Sub Form_Current()
    ' 新規レコードのときは検索コンボを空にする
    If Me.NewRecord Then
        Me!cbo検索 = Null
        Me!得意先コード.Locked = False
    Else
        Me!cbo検索 = Me!得意先ID
        Me!得意先コード.Locked = True        ' 登録後のコード変更は禁止
    End If
    Me!cmd削除.Enabled = Not Me.NewRecord
End Sub

Private Sub Form_BeforeUpdate(Cancel As Integer)
    ' 必須項目のチェック
    If IsNull(Me!得意先コード) Then
        MsgBox "得意先コードを入力してください。", vbExclamation, Me.Caption
        Me!得意先コード.SetFocus
        Cancel = True
        Exit Sub
    End If
    If IsNull(Me!得意先名カナ) And Not IsNull(Me!得意先名) Then
        Me!得意先名カナ = StrConv(Me!得意先名, vbNarrow)   ' 仮のカナ（半角にするだけ）
    End If
    If Me.NewRecord Then Me!登録日 = Date
End Sub

Private Sub Form_Delete(Cancel As Integer)
    ' 受注のある得意先は消させない（取引停止にしてもらう）
    If DCount("*", "T_受注", "得意先ID=" & Me!得意先ID) > 0 Then
        MsgBox "この得意先には受注があるため削除できません。" & vbCrLf & _
               "取引停止にチェックを付けてください。", vbExclamation, Me.Caption
        Cancel = True
    End If
End Sub

Private Sub Form_Error(DataErr As Integer, Response As Integer)
    Select Case DataErr
        Case 3022           ' 重複する値
            MsgBox "この得意先コードはすでに登録されています。", vbExclamation, Me.Caption
            Response = acDataErrContinue
        Case 2279           ' 定型入力に合わない
            MsgBox "入力の形式が正しくありません。", vbExclamation, Me.Caption
            Response = acDataErrContinue
        Case Else
            Response = acDataErrDisplay
    End Select
End Sub

Private Sub cbo検索_AfterUpdate()
    Dim rs As DAO.Recordset

    If IsNull(Me!cbo検索) Then Exit Sub
    Set rs = Me.RecordsetClone
    rs.FindFirst "得意先ID=" & Me!cbo検索
    If Not rs.NoMatch Then Me.Bookmark = rs.Bookmark
    Set rs = Nothing
End Sub

Private Sub 郵便番号_AfterUpdate()
    ' 郵便番号の頭2桁で都道府県の見当をつける（空のときだけ）
    If IsNull(Me!都道府県) And Len(Nz(Me!郵便番号, "")) >= 2 Then
        Select Case Left$(Me!郵便番号, 2)
            Case "10" To "20": Me!都道府県 = "東京都"
            Case "21" To "25": Me!都道府県 = "神奈川県"
            Case "53" To "59": Me!都道府県 = "大阪府"
        End Select
    End If
End Sub

Private Sub cmd新規_Click()
    DoCmd.GoToRecord , , acNewRec
    Me!得意先コード.SetFocus
End Sub

Private Sub cmd削除_Click()
On Error GoTo Err_cmd削除_Click

    DoCmd.DoMenuItem acFormBar, acEditMenu, 8, , acMenuVer70
    DoCmd.DoMenuItem acFormBar, acEditMenu, 6, , acMenuVer70

Exit_cmd削除_Click:
    Exit Sub

Err_cmd削除_Click:
    MsgBox Err.Description
    Resume Exit_cmd削除_Click
End Sub

Private Sub cmd次ページ_Click()
    DoCmd.GoToPage 2
End Sub
