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
    Width =10772
    DatasheetFontHeight =9
    ItemSuffix =35
    Left =600
    Top =900
    Right =11600
    Bottom =8000
    DatasheetGridlinesColor =12632256
    RecSrcDt = Begin
        0xfaaf10dc4db4e240
    End
    RecordSource ="T_仕入先"
    Caption ="仕入先マスタ"
    OnCurrent ="[Event Procedure]"
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
        Begin UnboundObjectFrame
            SpecialEffect =2
            OldBorderStyle =1
            Width =4536
            Height =2835
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
                    Caption ="仕入先マスタ"
                End
            End
        End
        Begin Section
            Height =5669
            Name ="詳細"
            Begin
                Begin TextBox
                    OverlapFlags =85
                    IMEMode =2
                    Left =1587
                    Top =227
                    Width =1134
                    Height =300
                    Name ="仕入先コード"
                    ControlSource ="仕入先コード"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =226
                            Top =227
                            Width =1304
                            Height =300
                            Name ="仕入先コード_ラベル"
                            Caption ="仕入先コード"
                        End
                    End
                End
                Begin TextBox
                    OverlapFlags =85
                    IMEMode =1
                    Left =1587
                    Top =624
                    Width =4252
                    Height =300
                    TabIndex =1
                    Name ="仕入先名"
                    ControlSource ="仕入先名"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =226
                            Top =624
                            Width =1304
                            Height =300
                            Name ="仕入先名_ラベル"
                            Caption ="仕入先名"
                        End
                    End
                End
                Begin TextBox
                    OverlapFlags =85
                    IMEMode =1
                    Left =1587
                    Top =1020
                    Width =2268
                    Height =300
                    TabIndex =2
                    Name ="担当者名"
                    ControlSource ="担当者名"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =226
                            Top =1020
                            Width =1304
                            Height =300
                            Name ="担当者名_ラベル"
                            Caption ="担当者名"
                        End
                    End
                End
                Begin TextBox
                    OverlapFlags =85
                    IMEMode =2
                    Left =1587
                    Top =1417
                    Width =1134
                    Height =300
                    TabIndex =3
                    Name ="郵便番号"
                    ControlSource ="郵便番号"
                    InputMask ="000\\-0000;;_"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =226
                            Top =1417
                            Width =1304
                            Height =300
                            Name ="郵便番号_ラベル"
                            Caption ="郵便番号"
                        End
                    End
                End
                Begin TextBox
                    OverlapFlags =85
                    IMEMode =1
                    Left =1587
                    Top =1814
                    Width =4252
                    Height =300
                    TabIndex =4
                    Name ="住所"
                    ControlSource ="住所"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =226
                            Top =1814
                            Width =1304
                            Height =300
                            Name ="住所_ラベル"
                            Caption ="住所"
                        End
                    End
                End
                Begin TextBox
                    OverlapFlags =85
                    IMEMode =2
                    Left =1587
                    Top =2211
                    Width =2041
                    Height =300
                    TabIndex =5
                    Name ="電話番号"
                    ControlSource ="電話番号"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =226
                            Top =2211
                            Width =1304
                            Height =300
                            Name ="電話番号_ラベル"
                            Caption ="電話番号"
                        End
                    End
                End
                Begin TextBox
                    OverlapFlags =85
                    IMEMode =2
                    Left =1587
                    Top =2608
                    Width =3401
                    Height =300
                    TabIndex =6
                    Name ="メールアドレス"
                    ControlSource ="メールアドレス"
                    ValidationRule ="Is Null Or Like \"*@*.*\""
                    ValidationText ="メールアドレスの形式が正しくありません。"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =226
                            Top =2608
                            Width =1304
                            Height =300
                            Name ="メールアドレス_ラベル"
                            Caption ="メール"
                        End
                    End
                End
                Begin CommandButton
                    OverlapFlags =85
                    Left =5102
                    Top =2580
                    Width =1077
                    Height =340
                    TabIndex =7
                    Name ="cmdメール"
                    Caption ="メール作成"
                    OnClick ="[Event Procedure]"
                End
                Begin TextBox
                    IsHyperlink = NotDefault
                    OverlapFlags =85
                    Left =1587
                    Top =3005
                    Width =4252
                    Height =300
                    TabIndex =8
                    ForeColor =16711680
                    Name ="ホームページ"
                    ControlSource ="ホームページ"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =226
                            Top =3005
                            Width =1304
                            Height =300
                            Name ="ホームページ_ラベル"
                            Caption ="ホームページ"
                        End
                    End
                End
                Begin ComboBox
                    RowSourceTypeInt =1
                    OverlapFlags =85
                    IMEMode =1
                    Left =1587
                    Top =3401
                    Width =4252
                    Height =300
                    TabIndex =9
                    Name ="支払条件"
                    ControlSource ="支払条件"
                    RowSourceType ="Value List"
                    RowSource ="月末締め翌月末払い;月末締め翌月20日払い;20日締め翌月10日払い;都度現金"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =227
                            Top =3401
                            Width =1304
                            Height =255
                            Name ="支払条件_ラベル"
                            Caption ="支払条件"
                        End
                    End
                End
                Begin ListBox
                    ColumnHeads = NotDefault
                    OverlapFlags =85
                    ColumnCount =4
                    Left =6236
                    Top =567
                    Width =4309
                    Height =2494
                    TabIndex =10
                    BoundColumn =1
                    Name ="lst取扱商品"
                    RowSourceType ="Table/Query"
                    RowSource ="SELECT T_商品.商品ID, T_商品.商品コード, T_商品.商品名, T_商品.仕入単価\015\012FROM T_商品\015\012WHERE "
                        "(((T_商品.仕入先ID)=[Forms]![F_仕入先マスタ]![仕入先ID]))\015\012ORDER BY T_商品.商品コード;"
                    ColumnWidths ="0;1134;2268;907"
                    OnDblClick ="[Event Procedure]"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =6236
                            Top =227
                            Width =4309
                            Height =255
                            Name ="ラベル44"
                            Caption ="取扱商品（ダブルクリックで商品マスタ）"
                        End
                    End
                End
                Begin UnboundObjectFrame
                    Locked = NotDefault
                    SizeMode =3
                    OverlapFlags =85
                    Left =6236
                    Top =3571
                    Width =4309
                    Height =1871
                    TabIndex =11
                    Name ="ole取引条件書"
                    OleData = Begin
                        0x151c0200100000000002090600000000c000000000000046576f72642e446f63 ,
                        0x756d656e742e380000d86b00989600a619002ddf000bf500ae8000a71500b13b ,
                        0x0046a20040b000265200550900ff2d006a5000d21300af030045210068200018 ,
                        0xe40081be00f9fe0058ef00b9a400567e00be1f00bfca001a4000ecc700b05900 ,
                        0xccf100593e0057b300d762005f8d00240000e106005af700c7230048c400b301 ,
                        0x0072bb004ec6000a6d0035f90024e100750e0037040035a600ac8800fecb00fd ,
                        0xfc00c83b00bae800
                    End
                    OnDblClick ="[Event Procedure]"
                    OLEClass ="Microsoft Word 文書"
                    Class ="Word.Document.8"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =6236
                            Top =3231
                            Width =1701
                            Height =255
                            Name ="ラベル46"
                            Caption ="取引条件書"
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
                    Left =9071
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

' F_仕入先マスタ : 仕入先の登録。取扱商品の一覧と取引条件書（Word 文書）を表示する

Private Sub Form_Current()
    Me!lst取扱商品.Requery
    Me!cmdメール.Enabled = Not IsNull(Me!メールアドレス)
End Sub

Private Sub lst取扱商品_DblClick(Cancel As Integer)
    If IsNull(Me!lst取扱商品) Then Exit Sub
    DoCmd.OpenForm "F_商品マスタ", acNormal, , "商品ID=" & Me!lst取扱商品
End Sub

Private Sub cmdメール_Click()
    ' 既定のメールソフトで新規メールを開く
    Application.FollowHyperlink "mailto:" & Me!メールアドレス & "?subject=" & "【ミナト文具】"
End Sub

Private Sub ole取引条件書_DblClick(Cancel As Integer)
    ' 埋め込んだ Word 文書を別ウィンドウで開く
    Me!ole取引条件書.Verb = acOLEVerbOpen
    Me!ole取引条件書.Action = acOLEActivate
    Cancel = True
End Sub
