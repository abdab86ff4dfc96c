Version =20
VersionRequired =20
Begin Form
    AutoCenter = NotDefault
    AllowDesignChanges = NotDefault
    DefaultView =0
    PictureAlignment =2
    DatasheetGridlinesBehavior =3
    Cycle =1
    GridX =24
    GridY =24
    Width =10205
    DatasheetFontHeight =9
    ItemSuffix =40
    Left =600
    Top =900
    Right =11000
    Bottom =7800
    DatasheetGridlinesColor =12632256
    RecSrcDt = Begin
        0xfaaf10dc4db4e240
    End
    RecordSource ="T_商品"
    Caption ="商品マスタ"
    BeforeUpdate ="[Event Procedure]"
    DatasheetFontName ="ＭＳ Ｐゴシック"
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
        Begin BoundObjectFrame
            SpecialEffect =2
            BackStyle =0
            OldBorderStyle =0
            BorderLineStyle =0
            Width =4536
            Height =2835
            LabelX =-1701
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
                    Caption ="商品マスタ"
                End
            End
        End
        Begin Section
            Height =5102
            Name ="詳細"
            Begin
                Begin TextBox
                    OverlapFlags =85
                    IMEMode =2
                    Left =1587
                    Top =227
                    Width =1417
                    Height =300
                    Name ="商品コード"
                    ControlSource ="商品コード"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =226
                            Top =227
                            Width =1304
                            Height =300
                            Name ="商品コード_ラベル"
                            Caption ="商品コード"
                        End
                    End
                End
                Begin TextBox
                    OverlapFlags =85
                    IMEMode =1
                    Left =1587
                    Top =624
                    Width =4535
                    Height =300
                    TabIndex =1
                    Name ="商品名"
                    ControlSource ="商品名"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =226
                            Top =624
                            Width =1304
                            Height =300
                            Name ="商品名_ラベル"
                            Caption ="商品名"
                        End
                    End
                End
                Begin TextBox
                    OverlapFlags =85
                    IMEMode =1
                    Left =1587
                    Top =1020
                    Width =4535
                    Height =300
                    TabIndex =2
                    Name ="規格"
                    ControlSource ="規格"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =226
                            Top =1020
                            Width =1304
                            Height =300
                            Name ="規格_ラベル"
                            Caption ="規格"
                        End
                    End
                End
                Begin ComboBox
                    LimitToList = NotDefault
                    OverlapFlags =85
                    IMEMode =1
                    ColumnCount =2
                    Left =1587
                    Top =1417
                    Width =2268
                    Height =300
                    TabIndex =3
                    Name ="商品区分ID"
                    ControlSource ="商品区分ID"
                    RowSourceType ="Table/Query"
                    RowSource ="SELECT T_商品区分.商品区分ID, T_商品区分.区分名\015\012FROM T_商品区分\015\012ORDER BY T_商品区分.表示順;"
                    ColumnWidths ="0;2268"
                    StatusBarText ="一覧にない区分を入力すると追加できます"
                    OnNotInList ="[Event Procedure]"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =227
                            Top =1417
                            Width =1304
                            Height =255
                            Name ="商品区分ID_ラベル"
                            Caption ="商品区分"
                        End
                    End
                End
                Begin ComboBox
                    LimitToList = NotDefault
                    OverlapFlags =85
                    ColumnCount =3
                    ListWidth =4535
                    Left =1587
                    Top =1814
                    Width =3401
                    Height =300
                    TabIndex =4
                    Name ="仕入先ID"
                    ControlSource ="仕入先ID"
                    RowSourceType ="Table/Query"
                    RowSource ="SELECT T_仕入先.仕入先ID, T_仕入先.仕入先コード, T_仕入先.仕入先名\015\012FROM T_仕入先\015\012ORDER BY T"
                        "_仕入先.仕入先コード;"
                    ColumnWidths ="0;964;3571"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =227
                            Top =1814
                            Width =1304
                            Height =255
                            Name ="仕入先ID_ラベル"
                            Caption ="仕入先"
                        End
                    End
                End
                Begin ComboBox
                    RowSourceTypeInt =1
                    OverlapFlags =85
                    IMEMode =1
                    Left =1587
                    Top =2211
                    Width =850
                    Height =300
                    TabIndex =5
                    Name ="単位"
                    ControlSource ="単位"
                    RowSourceType ="Value List"
                    RowSource ="個;箱;本;冊;台;ダース;セット;ケース"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =227
                            Top =2211
                            Width =1304
                            Height =255
                            Name ="単位_ラベル"
                            Caption ="単位"
                        End
                    End
                End
                Begin TextBox
                    OverlapFlags =85
                    TextAlign =3
                    Left =1587
                    Top =2608
                    Width =1417
                    Height =300
                    TabIndex =6
                    Name ="標準単価"
                    ControlSource ="標準単価"
                    Format ="\\\\#,##0"
                    ValidationRule =">=0"
                    AfterUpdate ="[Event Procedure]"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =226
                            Top =2608
                            Width =1304
                            Height =300
                            Name ="標準単価_ラベル"
                            Caption ="標準単価"
                        End
                    End
                End
                Begin TextBox
                    OverlapFlags =85
                    TextAlign =3
                    Left =1587
                    Top =3005
                    Width =1417
                    Height =300
                    TabIndex =7
                    Name ="仕入単価"
                    ControlSource ="仕入単価"
                    Format ="\\\\#,##0"
                    ValidationRule =">=0"
                    AfterUpdate ="[Event Procedure]"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =226
                            Top =3005
                            Width =1304
                            Height =300
                            Name ="仕入単価_ラベル"
                            Caption ="仕入単価"
                        End
                    End
                End
                Begin TextBox
                    DecimalPlaces =1
                    Locked = NotDefault
                    TabStop = NotDefault
                    OverlapFlags =85
                    TextAlign =3
                    Left =4195
                    Top =3005
                    Width =964
                    Height =300
                    TabIndex =8
                    BackColor =-2147483633
                    Name ="txt粗利率"
                    ControlSource ="=IIf(Nz([標準単価],0)=0,Null,([標準単価]-[仕入単価])/[標準単価])"
                    Format ="Percent"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =3231
                            Top =3005
                            Width =907
                            Height =255
                            Name ="ラベル40"
                            Caption ="粗利率"
                        End
                    End
                End
                Begin TextBox
                    OverlapFlags =85
                    TextAlign =3
                    Left =1587
                    Top =3401
                    Width =1020
                    Height =300
                    TabIndex =9
                    Name ="発注点"
                    ControlSource ="発注点"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =226
                            Top =3401
                            Width =1304
                            Height =300
                            Name ="発注点_ラベル"
                            Caption ="発注点"
                        End
                    End
                End
                Begin CheckBox
                    OverlapFlags =85
                    Left =1587
                    Top =3798
                    TabIndex =10
                    Name ="販売中止"
                    ControlSource ="販売中止"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =1814
                            Top =3770
                            Width =1134
                            Height =255
                            Name ="販売中止_ラベル"
                            Caption ="販売中止"
                        End
                    End
                End
                Begin TextBox
                    Locked = NotDefault
                    TabStop = NotDefault
                    OverlapFlags =85
                    Left =1587
                    Top =4195
                    Width =2268
                    Height =300
                    TabIndex =11
                    BackColor =-2147483633
                    Name ="更新日時"
                    ControlSource ="更新日時"
                    Format ="yyyy/mm/dd hh:nn"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =226
                            Top =4195
                            Width =1304
                            Height =300
                            Name ="更新日時_ラベル"
                            Caption ="更新日時"
                        End
                    End
                End
                Begin BoundObjectFrame
                    Locked = NotDefault
                    SizeMode =3
                    OverlapFlags =85
                    Left =6463
                    Top =567
                    Width =3401
                    Height =3401
                    TabIndex =12
                    Name ="商品画像"
                    ControlSource ="商品画像"
                    StatusBarText ="［画像読込］でビットマップを埋め込みます"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =6463
                            Top =227
                            Width =1304
                            Height =255
                            Name ="商品画像_ラベル"
                            Caption ="商品画像"
                        End
                    End
                End
                Begin CommandButton
                    OverlapFlags =85
                    Left =6463
                    Top =4081
                    Width =1644
                    Height =397
                    TabIndex =13
                    Name ="cmd画像読込"
                    Caption ="画像読込..."
                    OnClick ="[Event Procedure]"
                End
                Begin CommandButton
                    OverlapFlags =85
                    Left =8220
                    Top =4081
                    Width =1644
                    Height =397
                    TabIndex =14
                    Name ="cmd画像削除"
                    Caption ="画像削除"
                    OnClick ="[Event Procedure]"
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
                    Left =8504
                    Top =85
                    Width =1417
                    Height =397
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

' F_商品マスタ : 商品の登録・修正（画像は OLE オブジェクト型の 商品画像 に埋め込む）

Private Sub Form_BeforeUpdate(Cancel As Integer)
    If Nz(Me!標準単価, 0) < Nz(Me!仕入単価, 0) Then
        If MsgBox("標準単価が仕入単価を下回っています。このまま保存しますか？", _
                  vbYesNo + vbExclamation + vbDefaultButton2, Me.Caption) = vbNo Then
            Cancel = True
            Exit Sub
        End If
    End If
    Me!更新日時 = Now()
End Sub

Private Sub 標準単価_AfterUpdate()
    Me!txt粗利率.Requery
End Sub

Private Sub 仕入単価_AfterUpdate()
    Me!txt粗利率.Requery
End Sub

Private Sub 商品区分ID_NotInList(NewData As String, Response As Integer)
    ' 一覧にない区分名が入力されたら、確認のうえ T_商品区分 に追加する
    Dim strSQL As String

    If MsgBox("「" & NewData & "」は商品区分にありません。追加しますか？", _
              vbYesNo + vbQuestion, Me.Caption) = vbYes Then
        strSQL = "INSERT INTO T_商品区分 (区分名, 表示順) VALUES ('" & Replace(NewData, "'", "''") & "', " & _
                 Nz(DMax("表示順", "T_商品区分"), 0) + 10 & ")"
        CurrentDb.Execute strSQL, dbFailOnError
        Response = acDataErrAdded
    Else
        Me!商品区分ID.Undo
        Response = acDataErrContinue
    End If
End Sub

Private Sub cmd画像読込_Click()
    Dim strFile As String

    strFile = ファイル選択("ビットマップ (*.bmp)" & vbNullChar & "*.bmp", "C:\販売管理\画像")
    If Len(strFile) = 0 Then Exit Sub
    With Me!商品画像
        .Enabled = True
        .Locked = False
        .OLETypeAllowed = acOLEEmbedded
        .SourceDoc = strFile
        .Action = acOLECreateEmbed
    End With
End Sub

Private Sub cmd画像削除_Click()
    If MsgBox("商品画像を削除しますか？", vbYesNo + vbQuestion, Me.Caption) = vbYes Then
        Me!商品画像 = Null
    End If
End Sub
