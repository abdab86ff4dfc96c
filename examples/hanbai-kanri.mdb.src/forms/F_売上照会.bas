Version =20
VersionRequired =20
Begin Form
    RecordSelectors = NotDefault
    AutoCenter = NotDefault
    NavigationButtons = NotDefault
    DividingLines = NotDefault
    AllowDesignChanges = NotDefault
    DefaultView =0
    ScrollBars =0
    BorderStyle =1
    PictureAlignment =2
    DatasheetGridlinesBehavior =3
    GridX =24
    GridY =24
    Width =10488
    DatasheetFontHeight =9
    ItemSuffix =33
    Left =600
    Top =900
    Right =11200
    Bottom =8200
    DatasheetGridlinesColor =12632256
    Caption ="売上照会"
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
        Begin ListBox
            SpecialEffect =2
            BorderLineStyle =0
            Width =1701
            Height =1417
            LabelX =-1701
            FontName ="ＭＳ Ｐゴシック"
        End
        Begin ComboBox
            SpecialEffect =2
            BorderLineStyle =0
            Width =1701
            LabelX =-1701
            FontName ="ＭＳ Ｐゴシック"
        End
        Begin FormHeader
            Height =737
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
                    Caption ="売上照会"
                End
            End
        End
        Begin Section
            Height =6236
            Name ="詳細"
            Begin
                Begin TextBox
                    OverlapFlags =85
                    IMEMode =2
                    Left =1247
                    Top =170
                    Width =1417
                    Height =300
                    Name ="txt開始日"
                    Format ="yyyy/mm/dd"
                    ValidationRule ="Is Null Or >=#2000/01/01#"
                    ValidationText ="2000年より前は検索できません。"
                    DefaultValue ="=DateSerial(Year(Date()),Month(Date()),1)"
                    InputMask ="9999/99/99;0;_"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =227
                            Top =170
                            Width =964
                            Height =255
                            Name ="ラベル3"
                            Caption ="期間"
                        End
                    End
                End
                Begin Label
                    OverlapFlags =85
                    Left =2721
                    Top =170
                    Width =284
                    Height =255
                    Name ="ラベル5"
                    Caption ="～"
                End
                Begin TextBox
                    OverlapFlags =85
                    IMEMode =2
                    Left =3061
                    Top =170
                    Width =1417
                    Height =300
                    TabIndex =1
                    Name ="txt終了日"
                    Format ="yyyy/mm/dd"
                    DefaultValue ="=Date()"
                    InputMask ="9999/99/99;0;_"
                End
                Begin ComboBox
                    LimitToList = NotDefault
                    OverlapFlags =85
                    IMEMode =1
                    ColumnCount =3
                    ListRows =16
                    ListWidth =4535
                    Left =1247
                    Top =567
                    Width =3231
                    Height =300
                    TabIndex =2
                    Name ="cbo得意先"
                    RowSourceType ="Table/Query"
                    RowSource ="SELECT T_得意先.得意先ID, T_得意先.得意先コード, T_得意先.得意先名\015\012FROM T_得意先\015\012ORDER BY T"
                        "_得意先.得意先コード;"
                    ColumnWidths ="0;850;3685"
                    StatusBarText ="空欄ならすべての得意先"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =227
                            Top =567
                            Width =964
                            Height =255
                            Name ="ラベル8"
                            Caption ="得意先"
                        End
                    End
                End
                Begin OptionGroup
                    OverlapFlags =85
                    Left =5102
                    Top =170
                    Width =3288
                    Height =454
                    TabIndex =3
                    Name ="grp集計単位"
                    AfterUpdate ="[Event Procedure]"
                    DefaultValue ="1"
                    Begin
                        Begin Label
                            BackStyle =1
                            OverlapFlags =87
                            Left =5159
                            Top =57
                            Width =1474
                            Height =255
                            BackColor =-2147483633
                            Name ="ラベル11"
                            Caption ="印刷の集計単位"
                        End
                        Begin CheckBox
                            OverlapFlags =247
                            Left =5329
                            Top =340
                            OptionValue =1
                            Name ="chk日別"
                            Begin
                                Begin Label
                                    OverlapFlags =87
                                    Left =5556
                                    Top =312
                                    Width =567
                                    Height =255
                                    Name ="ラベル13"
                                    Caption ="日別"
                                End
                            End
                        End
                        Begin CheckBox
                            OverlapFlags =247
                            Left =6236
                            Top =340
                            TabIndex =1
                            OptionValue =2
                            Name ="chk月別"
                            Begin
                                Begin Label
                                    OverlapFlags =87
                                    Left =6463
                                    Top =312
                                    Width =567
                                    Height =255
                                    Name ="ラベル15"
                                    Caption ="月別"
                                End
                            End
                        End
                        Begin CheckBox
                            OverlapFlags =247
                            Left =7143
                            Top =340
                            TabIndex =2
                            OptionValue =3
                            Name ="chk得意先別"
                            Begin
                                Begin Label
                                    OverlapFlags =87
                                    Left =7370
                                    Top =312
                                    Width =850
                                    Height =255
                                    Name ="ラベル17"
                                    Caption ="得意先別"
                                End
                            End
                        End
                    End
                End
                Begin CommandButton
                    Default = NotDefault
                    OverlapFlags =85
                    Left =8731
                    Top =113
                    Width =1531
                    Height =397
                    TabIndex =4
                    Name ="cmd検索"
                    Caption ="検索(&F)"
                    OnClick ="[Event Procedure]"
                End
                Begin CommandButton
                    OverlapFlags =85
                    Left =8731
                    Top =567
                    Width =1531
                    Height =397
                    TabIndex =5
                    Name ="cmdクリア"
                    Caption ="クリア"
                    OnClick ="[Event Procedure]"
                End
                Begin ListBox
                    ColumnHeads = NotDefault
                    MultiSelect =2
                    OverlapFlags =85
                    ColumnCount =6
                    Left =227
                    Top =1304
                    Width =10035
                    Height =4422
                    TabIndex =6
                    BoundColumn =1
                    Name ="lst売上一覧"
                    RowSourceType ="Table/Query"
                    RowSource ="Q_受注一覧"
                    ColumnWidths ="0;1417;1304;4082;1701;0"
                    OnDblClick ="[Event Procedure]"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =227
                            Top =1020
                            Width =4535
                            Height =255
                            Name ="ラベル21"
                            Caption ="検索結果（ダブルクリックで受注入力）"
                        End
                    End
                End
                Begin Label
                    OverlapFlags =85
                    TextAlign =3
                    Left =8504
                    Top =5783
                    Width =1757
                    Height =255
                    Name ="lbl件数"
                    Caption =""
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
                    Left =113
                    Top =85
                    Width =2268
                    Height =397
                    Name ="cmd印刷"
                    Caption ="日別集計を印刷"
                    OnClick ="[Event Procedure]"
                End
                Begin CommandButton
                    OverlapFlags =85
                    Left =2494
                    Top =85
                    Width =1701
                    Height =397
                    TabIndex =1
                    Name ="cmdExcel"
                    Caption ="Excel に出力"
                    OnClick ="[Event Procedure]"
                End
                Begin CommandButton
                    OverlapFlags =85
                    Left =8844
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
' F_売上照会 : 期間・得意先で受注を検索し、一覧・印刷・Excel 出力をする
'------------------------------------------------------------------------------

Private Const 基本SQL As String = _
    "SELECT T_受注.受注ID, T_受注.受注番号, T_受注.受注日, T_得意先.得意先名, " & _
    "Sum(CCur([数量]*[単価]*(1-[値引率]))) AS 税抜合計, T_受注.受注状態 " & _
    "FROM (T_得意先 INNER JOIN T_受注 ON T_得意先.得意先ID = T_受注.得意先ID) " & _
    "INNER JOIN T_受注明細 ON T_受注.受注ID = T_受注明細.受注ID "

Private Sub Form_Load()
    Me!txt開始日 = DateSerial(Year(Date), Month(Date), 1)
    Me!txt終了日 = Date
    Me!grp集計単位 = 1
End Sub

Private Sub cmd検索_Click()
    Dim strWhere As String
    Dim strSQL As String

    If IsNull(Me!txt開始日) Or IsNull(Me!txt終了日) Then
        MsgBox "期間を入力してください。", vbExclamation, Me.Caption
        Exit Sub
    End If
    If Me!txt開始日 > Me!txt終了日 Then
        MsgBox "開始日が終了日より後になっています。", vbExclamation, Me.Caption
        Exit Sub
    End If

    strWhere = "WHERE T_受注.受注日 Between #" & Format$(Me!txt開始日, "mm/dd/yyyy") & "# And #" & _
               Format$(Me!txt終了日, "mm/dd/yyyy") & "# AND T_受注.受注状態<>9 "
    If Not IsNull(Me!cbo得意先) Then
        strWhere = strWhere & "AND T_受注.得意先ID=" & Me!cbo得意先 & " "
    End If

    strSQL = 基本SQL & strWhere & _
             "GROUP BY T_受注.受注ID, T_受注.受注番号, T_受注.受注日, T_得意先.得意先名, T_受注.受注状態 " & _
             "ORDER BY T_受注.受注日, T_受注.受注番号;"
    Me!lst売上一覧.RowSource = strSQL
    Me!lbl件数.Caption = Me!lst売上一覧.ListCount - 1 & " 件"
End Sub

Private Sub cmdクリア_Click()
    Me!cbo得意先 = Null
    Form_Load
    Me!lst売上一覧.RowSource = ""
    Me!lbl件数.Caption = ""
End Sub

Private Sub lst売上一覧_DblClick(Cancel As Integer)
    If IsNull(Me!lst売上一覧) Then Exit Sub
    DoCmd.OpenForm "F_受注入力", , , "受注ID=" & Me!lst売上一覧
End Sub

Private Sub grp集計単位_AfterUpdate()
    ' 1=日別 2=月別 3=得意先別 : 印刷するレポートの並びを変える
    Select Case Me!grp集計単位
        Case 1: Me!cmd印刷.Caption = "日別集計を印刷"
        Case 2: Me!cmd印刷.Caption = "月別集計を印刷"
        Case 3: Me!cmd印刷.Caption = "得意先別を印刷"
    End Select
End Sub

Private Sub cmd印刷_Click()
On Error GoTo Err_cmd印刷_Click

    DoCmd.OpenReport "R_月別売上集計", acViewPreview
    If Me!grp集計単位 = 3 Then
        Reports!R_月別売上集計.OrderBy = "得意先コード"
        Reports!R_月別売上集計.OrderByOn = True
    End If

Exit_cmd印刷_Click:
    Exit Sub

Err_cmd印刷_Click:
    If Err.Number <> 2501 Then MsgBox Err.Description     ' 2501 = NoData で取り消し
    Resume Exit_cmd印刷_Click
End Sub

Private Sub cmdExcel_Click()
    Dim strFile As String
    strFile = ファイル選択("Excel ブック (*.xls)" & vbNullChar & "*.xls", "C:\販売管理\出力", True)
    If Len(strFile) = 0 Then Exit Sub
    DoCmd.OutputTo acOutputQuery, "Q_受注一覧", acFormatXLS, strFile, True
End Sub
