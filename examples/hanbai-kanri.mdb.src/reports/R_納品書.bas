Version =20
VersionRequired =20
Begin Report
    LayoutForPrint = NotDefault
    DateGrouping =1
    GrpKeepTogether =1
    PictureAlignment =2
    DatasheetGridlinesBehavior =3
    GridX =24
    GridY =24
    Width =9638
    DatasheetFontHeight =9
    ItemSuffix =33
    Left =900
    Top =900
    RecSrcDt = Begin
        0xd961ea72b5b4e240
    End
    RecordSource ="SELECT T_受注.受注ID, T_受注.受注番号, T_受注.受注日, T_受注.出荷日, T_受注.配送方法, T_受注.備考, T_得意先.得意先名,"
        " T_得意先.郵便番号, [T_得意先].[都道府県] & [T_得意先].[住所1] & [T_得意先].[住所2] AS 住所\015\012FROM T_"
        "得意先 INNER JOIN T_受注 ON T_得意先.得意先ID = T_受注.得意先ID\015\012WHERE (((T_受注.受注状態)=2 Or "
        "(T_受注.受注状態)=3));"
    Caption ="納品書"
    OnOpen ="[Event Procedure]"
    DatasheetFontName ="ＭＳ Ｐゴシック"
    PrtMip = Begin
        0x6e0400006e0400006e0400006e04000000000000a6250000e010000001000000 ,
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
        Begin Image
            BackStyle =0
            OldBorderStyle =0
            BorderLineStyle =0
            Width =1701
            Height =1701
            PictureAlignment =2
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
        Begin Subform
            SpecialEffect =2
            BorderLineStyle =0
            Width =1701
            Height =1701
        End
        Begin BreakLevel
            GroupHeader = NotDefault
            GroupFooter = NotDefault
            ControlSource ="受注番号"
        End
        Begin PageHeader
            Height =850
            Name ="ページヘッダー"
            Begin
                Begin Label
                    TextAlign =2
                    Left =3118
                    Top =113
                    Width =3401
                    Height =567
                    FontSize =20
                    FontWeight =700
                    Name ="ラベル1"
                    Caption ="納　品　書"
                End
                Begin Image
                    SizeMode =3
                    PictureType =0
                    Left =8844
                    Top =57
                    Width =680
                    Height =680
                    Name ="imgロゴ"
                    Picture ="C:\\販売管理\\画像\\ロゴ.bmp"
                    PictureData = Begin
                        0x280000001000000010000000010018000000000000030000c40e0000c40e0000 ,
                        0x0000000000000000804000804000804000804000804000804000804000804000 ,
                        0x8040008040008040008040008040008040008040008040008040008040008040 ,
                        0x0080400080400080400080400080400080400080400080400080400080400080 ,
                        0x4000804000804000804000804000c07010c07010c07010c07010c07010ffffff ,
                        0xffffffffffffc07010c07010c07010c07010804000804000804000804000c070 ,
                        0x10c07010c07010c07010c07010ffffffffffffffffffc07010c07010c07010c0 ,
                        0x7010804000804000804000804000c07010c07010c07010c07010c07010ffffff ,
                        0xffffffffffffc07010c07010c07010c07010804000804000804000804000c070 ,
                        0x10c07010c07010c07010c07010ffffffffffffffffffc07010c07010c07010c0 ,
                        0x7010804000804000804000804000c07010c07010c07010c07010c07010ffffff ,
                        0xffffffffffffc07010c07010c07010c07010804000804000804000804000c070 ,
                        0x10c07010c07010c07010c07010ffffffffffffffffffc07010c07010c07010c0 ,
                        0x7010804000804000804000804000ffffffffffffffffffffffffffffffffffff ,
                        0xffffffffffffffffffffffffffffffffffff804000804000804000804000ffff ,
                        0xffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffff ,
                        0xffff804000804000804000804000ffffffffffffffffffffffffffffffffffff ,
                        0xffffffffffffffffffffffffffffffffffff804000804000804000804000c070 ,
                        0x10c07010c07010c07010c07010ffffffffffffffffffc07010c07010c07010c0 ,
                        0x7010804000804000804000804000c07010c07010c07010c07010c07010ffffff ,
                        0xffffffffffffc07010c07010c07010c07010804000804000804000804000c070 ,
                        0x10c07010c07010c07010c07010ffffffffffffffffffc07010c07010c07010c0 ,
                        0x7010804000804000804000804000804000804000804000804000804000804000 ,
                        0x8040008040008040008040008040008040008040008040008040008040008040 ,
                        0x0080400080400080400080400080400080400080400080400080400080400080 ,
                        0x4000804000804000
                    End
                End
            End
        End
        Begin BreakHeader
            KeepTogether = NotDefault
            Height =1814
            Name ="グループヘッダー0"
            Begin
                Begin TextBox
                    Left =113
                    Top =113
                    Width =5669
                    Height =340
                    FontSize =12
                    FontWeight =700
                    Name ="txt宛名"
                    ControlSource ="=[得意先名] & \"　様\""
                End
                Begin TextBox
                    CanGrow = NotDefault
                    Left =113
                    Top =510
                    Width =5669
                    Height =255
                    TabIndex =1
                    Name ="住所"
                    ControlSource ="=\"〒\" & [郵便番号] & \"　\" & [住所]"
                End
                Begin TextBox
                    TextAlign =3
                    Left =7370
                    Top =113
                    Width =2154
                    Height =255
                    TabIndex =2
                    Name ="受注番号"
                    ControlSource ="受注番号"
                    Format ="\"No. \"@"
                End
                Begin TextBox
                    TextAlign =3
                    Left =7370
                    Top =425
                    Width =2154
                    Height =255
                    TabIndex =3
                    Name ="出荷日"
                    ControlSource ="出荷日"
                    Format ="yyyy\"年\"m\"月\"d\"日\""
                End
                Begin TextBox
                    Left =113
                    Top =907
                    Width =4535
                    Height =255
                    TabIndex =4
                    Name ="txt配送"
                End
                Begin TextBox
                    Visible = NotDefault
                    Left =4762
                    Top =907
                    Width =454
                    Height =255
                    TabIndex =5
                    Name ="配送方法"
                    ControlSource ="配送方法"
                End
                Begin Label
                    Left =113
                    Top =1304
                    Width =4535
                    Height =255
                    Name ="ラベル8"
                    Caption ="下記のとおり納品いたします。"
                End
                Begin Line
                    BorderWidth =1
                    Top =1700
                    Width =9638
                    Name ="直線9"
                End
            End
        End
        Begin Section
            Height =1134
            Name ="詳細"
            Begin
                Begin Subform
                    CanGrow = NotDefault
                    OldBorderStyle =0
                    Top =57
                    Width =9638
                    Height =964
                    Name ="sub明細"
                    SourceObject ="Report.R_受注明細_サブ"
                    LinkChildFields ="受注ID"
                    LinkMasterFields ="受注ID"
                End
                Begin TextBox
                    Visible = NotDefault
                    Width =454
                    Height =255
                    TabIndex =1
                    Name ="受注ID"
                    ControlSource ="受注ID"
                End
            End
        End
        Begin BreakFooter
            ForceNewPage =2
            Height =1474
            Name ="グループフッター1"
            Begin
                Begin TextBox
                    CanGrow = NotDefault
                    CanShrink = NotDefault
                    Left =113
                    Top =113
                    Width =6236
                    Height =1020
                    Name ="備考"
                    ControlSource ="備考"
                End
                Begin Rectangle
                    SpecialEffect =0
                    Left =7937
                    Top =113
                    Width =1587
                    Height =1247
                    Name ="四角形12"
                End
                Begin Label
                    TextAlign =2
                    Left =7937
                    Top =113
                    Width =1587
                    Height =255
                    Name ="ラベル13"
                    Caption ="受領印"
                End
            End
        End
        Begin PageFooter
            Height =397
            Name ="ページフッター"
            Begin
                Begin TextBox
                    TextAlign =3
                    Left =7370
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

' R_納品書 : 受注1件ごとの納品書（明細はサブレポート R_受注明細_サブ）

Private Sub Report_Open(Cancel As Integer)
    If Not IsLoaded("F_受注入力") Then
        MsgBox "受注入力の画面から印刷してください。", vbExclamation, "納品書"
        Cancel = True
    End If
End Sub

Private Sub グループヘッダー0_Format(Cancel As Integer, FormatCount As Integer)
    Select Case Nz(Me!配送方法, 1)
        Case 1: Me!txt配送.Value = "自社便にてお届け"
        Case 2: Me!txt配送.Value = "宅配便にてお届け"
        Case 3: Me!txt配送.Value = "ご来社にてお引き取り"
    End Select
End Sub
