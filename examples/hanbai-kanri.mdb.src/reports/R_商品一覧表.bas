Version =20
VersionRequired =20
Begin Report
    DateGrouping =1
    GrpKeepTogether =1
    PictureAlignment =2
    DatasheetGridlinesBehavior =3
    GridX =24
    GridY =24
    Width =10204
    DatasheetFontHeight =9
    ItemSuffix =35
    Left =900
    Top =900
    RecSrcDt = Begin
        0xd961ea72b5b4e240
    End
    RecordSource ="SELECT T_商品.商品コード, T_商品.商品名, T_商品.規格, T_商品.標準単価, T_商品.仕入単価, T_商品.販売中止, T_商品区分.区分"
        "名, T_商品区分.表示順, T_仕入先.仕入先名\015\012FROM T_仕入先 RIGHT JOIN (T_商品区分 INNER JOIN T_商品 O"
        "N T_商品区分.商品区分ID = T_商品.商品区分ID) ON T_仕入先.仕入先ID = T_商品.仕入先ID;"
    Caption ="商品一覧表"
    DatasheetFontName ="ＭＳ Ｐゴシック"
    PrtMip = Begin
        0x6e0400006e0400006e0400006e04000000000000dc270000e010000001000000 ,
        0x010000006801000000000000800700000100000001000000
    End
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
        Begin CheckBox
            SpecialEffect =2
            BorderLineStyle =0
            LabelX =230
            LabelY =-30
        End
        Begin TextBox
            FELineBreak = NotDefault
            OldBorderStyle =0
            BorderLineStyle =0
            Width =1701
            LabelX =-1701
            FontName ="ＭＳ Ｐゴシック"
            AsianLineBreak =255
        End
        Begin BreakLevel
            GroupHeader = NotDefault
            GroupFooter = NotDefault
            KeepTogether =2
            ControlSource ="表示順"
        End
        Begin BreakLevel
            ControlSource ="商品コード"
        End
        Begin PageHeader
            Height =737
            Name ="ページヘッダー"
            Begin
                Begin Label
                    Left =113
                    Top =57
                    Width =4535
                    Height =397
                    FontSize =14
                    FontWeight =700
                    Name ="ラベル1"
                    Caption ="商品一覧表（価格表）"
                End
                Begin Label
                    Left =113
                    Top =454
                    Width =1134
                    Height =255
                    Name ="ラベル2"
                    Caption ="コード"
                End
                Begin Label
                    Left =1304
                    Top =454
                    Width =4082
                    Height =255
                    Name ="ラベル3"
                    Caption ="商品名／規格"
                End
                Begin Label
                    TextAlign =3
                    Left =5499
                    Top =454
                    Width =1247
                    Height =255
                    Name ="ラベル4"
                    Caption ="標準単価"
                End
                Begin Label
                    TextAlign =3
                    Left =6860
                    Top =454
                    Width =1247
                    Height =255
                    Name ="ラベル5"
                    Caption ="仕入単価"
                End
                Begin Label
                    Left =8220
                    Top =454
                    Width =1417
                    Height =255
                    Name ="ラベル6"
                    Caption ="仕入先"
                End
                Begin Label
                    Left =9638
                    Top =454
                    Width =510
                    Height =255
                    Name ="ラベル7"
                    Caption ="中止"
                End
                Begin Line
                    BorderWidth =1
                    Top =720
                    Width =10204
                    Name ="直線8"
                End
            End
        End
        Begin BreakHeader
            KeepTogether = NotDefault
            Height =454
            Name ="グループヘッダー0"
            Begin
                Begin Rectangle
                    SpecialEffect =0
                    BackStyle =1
                    Top =57
                    Width =10204
                    Height =340
                    BackColor =15132390
                    Name ="四角形10"
                End
                Begin TextBox
                    BackStyle =0
                    Left =113
                    Top =85
                    Width =3402
                    Height =283
                    FontWeight =700
                    Name ="区分名"
                    ControlSource ="区分名"
                End
            End
        End
        Begin Section
            Height =283
            OnFormat ="[Event Procedure]"
            Name ="詳細"
            Begin
                Begin TextBox
                    Left =113
                    Top =14
                    Width =1134
                    Height =255
                    Name ="商品コード"
                    ControlSource ="商品コード"
                End
                Begin TextBox
                    Left =1304
                    Top =14
                    Width =4082
                    Height =255
                    TabIndex =1
                    Name ="商品名"
                    ControlSource ="=[商品名] & IIf(IsNull([規格]),\"\",\"（\" & [規格] & \"）\")"
                End
                Begin TextBox
                    TextAlign =3
                    Left =5499
                    Top =14
                    Width =1247
                    Height =255
                    TabIndex =2
                    Name ="標準単価"
                    ControlSource ="標準単価"
                    Format ="\\\\#,##0"
                End
                Begin TextBox
                    TextAlign =3
                    Left =6860
                    Top =14
                    Width =1247
                    Height =255
                    TabIndex =3
                    Name ="仕入単価"
                    ControlSource ="仕入単価"
                    Format ="\\\\#,##0"
                End
                Begin TextBox
                    Left =8220
                    Top =14
                    Width =1417
                    Height =255
                    TabIndex =4
                    Name ="仕入先名"
                    ControlSource ="仕入先名"
                End
                Begin CheckBox
                    Left =9694
                    Top =28
                    TabIndex =5
                    Name ="販売中止"
                    ControlSource ="販売中止"
                End
            End
        End
        Begin BreakFooter
            Height =340
            Name ="グループフッター1"
            Begin
                Begin TextBox
                    TextAlign =3
                    Left =7937
                    Top =28
                    Width =2154
                    Height =255
                    FontSize =8
                    Name ="txt区分件数"
                    ControlSource ="=\"（\" & Count(*) & \" 品目）\""
                End
            End
        End
        Begin PageFooter
            Height =397
            Name ="ページフッター"
            Begin
                Begin TextBox
                    TextAlign =3
                    Left =7936
                    Top =85
                    Width =2154
                    Height =255
                    Name ="txtページ"
                    ControlSource ="=[Page] & \" / \" & [Pages] & \" ページ\""
                End
                Begin TextBox
                    Top =85
                    Width =2835
                    Height =255
                    TabIndex =1
                    Name ="txt印刷日時"
                    ControlSource ="=Now()"
                    Format ="yyyy/mm/dd hh:nn"
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

' R_商品一覧表 : 商品区分ごとの価格表（販売中止は網掛け）

Private Sub 詳細_Format(Cancel As Integer, FormatCount As Integer)
    If Me!販売中止 Then
        Me.Section(acDetail).BackColor = RGB(224, 224, 224)
    Else
        Me.Section(acDetail).BackColor = vbWhite
    End If
End Sub
