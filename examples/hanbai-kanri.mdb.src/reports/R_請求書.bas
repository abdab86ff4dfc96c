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
    Width =10204
    DatasheetFontHeight =9
    ItemSuffix =51
    Left =600
    Top =600
    OnNoData ="[Event Procedure]"
    RecSrcDt = Begin
        0xd961ea72b5b4e240
    End
    RecordSource ="Q_請求書"
    Caption ="請求書"
    OnOpen ="[Event Procedure]"
    DatasheetFontName ="ＭＳ Ｐゴシック"
    PrtMip = Begin
        0x6e0400006e0400006e0400006e04000000000000dc270000e010000001000000 ,
        0x010000006801000000000000800700000100000001000000
    End
    OnPage ="[Event Procedure]"
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
        Begin UnboundObjectFrame
            SpecialEffect =2
            OldBorderStyle =1
            Width =4536
            Height =2835
        End
        Begin BreakLevel
            GroupHeader = NotDefault
            GroupFooter = NotDefault
            KeepTogether =1
            ControlSource ="得意先コード"
        End
        Begin BreakLevel
            GroupHeader = NotDefault
            ControlSource ="受注番号"
        End
        Begin BreakLevel
            ControlSource ="行番号"
        End
        Begin FormHeader
            Height =0
            Name ="レポートヘッダー"
        End
        Begin PageHeader
            Height =1701
            Name ="ページヘッダー"
            Begin
                Begin Image
                    SizeMode =3
                    PictureType =0
                    Left =8504
                    Top =113
                    Width =567
                    Height =567
                    Name ="imgロゴ"
                    Picture ="C:\\販売管理\\画像\\ロゴ.bmp"
                    PictureData = Begin
                        0x2800000018000000180000000100180000000000c0060000c40e0000c40e0000 ,
                        0x0000000000000000804000804000804000804000804000804000804000804000 ,
                        0x8040008040008040008040008040008040008040008040008040008040008040 ,
                        0x0080400080400080400080400080400080400080400080400080400080400080 ,
                        0x4000804000804000804000804000804000804000804000804000804000804000 ,
                        0x804000804000804000804000804000804000804000804000804000804000c070 ,
                        0x10c07010c07010c07010c07010c07010c07010c07010c07010ffffffffffffff ,
                        0xffffc07010c07010c07010c07010c07010c07010c07010c07010804000804000 ,
                        0x804000804000c07010c07010c07010c07010c07010c07010c07010c07010c070 ,
                        0x10ffffffffffffffffffc07010c07010c07010c07010c07010c07010c07010c0 ,
                        0x7010804000804000804000804000c07010c07010c07010c07010c07010c07010 ,
                        0xc07010c07010c07010ffffffffffffffffffc07010c07010c07010c07010c070 ,
                        0x10c07010c07010c07010804000804000804000804000c07010c07010c07010c0 ,
                        0x7010c07010c07010c07010c07010c07010ffffffffffffffffffc07010c07010 ,
                        0xc07010c07010c07010c07010c07010c07010804000804000804000804000c070 ,
                        0x10c07010c07010c07010c07010c07010c07010c07010c07010ffffffffffffff ,
                        0xffffc07010c07010c07010c07010c07010c07010c07010c07010804000804000 ,
                        0x804000804000c07010c07010c07010c07010c07010c07010c07010c07010c070 ,
                        0x10ffffffffffffffffffc07010c07010c07010c07010c07010c07010c07010c0 ,
                        0x7010804000804000804000804000c07010c07010c07010c07010c07010c07010 ,
                        0xc07010c07010c07010ffffffffffffffffffc07010c07010c07010c07010c070 ,
                        0x10c07010c07010c07010804000804000804000804000c07010c07010c07010c0 ,
                        0x7010c07010c07010c07010c07010c07010ffffffffffffffffffc07010c07010 ,
                        0xc07010c07010c07010c07010c07010c07010804000804000804000804000c070 ,
                        0x10c07010c07010c07010c07010c07010c07010c07010c07010ffffffffffffff ,
                        0xffffc07010c07010c07010c07010c07010c07010c07010c07010804000804000 ,
                        0x804000804000c07010c07010c07010c07010c07010c07010c07010c07010c070 ,
                        0x10ffffffffffffffffffc07010c07010c07010c07010c07010c07010c07010c0 ,
                        0x7010804000804000804000804000c07010c07010c07010c07010c07010c07010 ,
                        0xc07010c07010c07010ffffffffffffffffffc07010c07010c07010c07010c070 ,
                        0x10c07010c07010c07010804000804000804000804000ffffffffffffffffffff ,
                        0xffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffff ,
                        0xffffffffffffffffffffffffffffffffffff804000804000804000804000ffff ,
                        0xffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffff ,
                        0xffffffffffffffffffffffffffffffffffffffffffffffffffff804000804000 ,
                        0x804000804000ffffffffffffffffffffffffffffffffffffffffffffffffffff ,
                        0xffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffff ,
                        0xffff804000804000804000804000c07010c07010c07010c07010c07010c07010 ,
                        0xc07010c07010c07010ffffffffffffffffffc07010c07010c07010c07010c070 ,
                        0x10c07010c07010c07010804000804000804000804000c07010c07010c07010c0 ,
                        0x7010c07010c07010c07010c07010c07010ffffffffffffffffffc07010c07010 ,
                        0xc07010c07010c07010c07010c07010c07010804000804000804000804000c070 ,
                        0x10c07010c07010c07010c07010c07010c07010c07010c07010ffffffffffffff ,
                        0xffffc07010c07010c07010c07010c07010c07010c07010c07010804000804000 ,
                        0x804000804000c07010c07010c07010c07010c07010c07010c07010c07010c070 ,
                        0x10ffffffffffffffffffc07010c07010c07010c07010c07010c07010c07010c0 ,
                        0x7010804000804000804000804000c07010c07010c07010c07010c07010c07010 ,
                        0xc07010c07010c07010ffffffffffffffffffc07010c07010c07010c07010c070 ,
                        0x10c07010c07010c07010804000804000804000804000c07010c07010c07010c0 ,
                        0x7010c07010c07010c07010c07010c07010ffffffffffffffffffc07010c07010 ,
                        0xc07010c07010c07010c07010c07010c070108040008040008040008040008040 ,
                        0x0080400080400080400080400080400080400080400080400080400080400080 ,
                        0x4000804000804000804000804000804000804000804000804000804000804000 ,
                        0x8040008040008040008040008040008040008040008040008040008040008040 ,
                        0x0080400080400080400080400080400080400080400080400080400080400080 ,
                        0x4000804000804000
                    End
                End
                Begin Label
                    TextAlign =2
                    Left =3401
                    Top =113
                    Width =3401
                    Height =567
                    FontSize =20
                    FontWeight =700
                    Name ="ラベル1"
                    Caption ="御　請　求　書"
                End
                Begin Label
                    TextAlign =3
                    Left =6803
                    Top =737
                    Width =3118
                    Height =255
                    FontWeight =700
                    Name ="ラベル2"
                    Caption ="株式会社ミナト文具"
                End
                Begin Label
                    TextAlign =3
                    Left =5669
                    Top =1020
                    Width =4252
                    Height =255
                    FontSize =8
                    Name ="ラベル3"
                    Caption ="〒105-0022 東京都港区海岸1-2-3  TEL 03-3456-7890"
                End
                Begin UnboundObjectFrame
                    SizeMode =3
                    OldBorderStyle =0
                    Left =9354
                    Top =680
                    Width =794
                    Height =794
                    Name ="ole社印"
                    OleData = Begin
                        0x151c02000e0000000003000a00000000c0000000000000465061696e742e5069 ,
                        0x63747572650000c37d008eb400b748006d460019e500244c00a0e300fc7800fa ,
                        0x8c00955c00b5320053fe00d1230045ed00e9c9000d7d00dc010051550063a000 ,
                        0xc76d00e4cc00d03200969100436b00aad800d6160011a6004a4e001f51003c01 ,
                        0x0016140054fb005b1a00219200eb0400e8f8004a73002ffc00f31800c4c10025 ,
                        0x5d009db9007ba800bbdd00a7bd00f7000054ce0061af00fb42009ff700252800 ,
                        0x680c00760600
                    End
                    OLEClass ="ビットマップ イメージ"
                    Class ="Paint.Picture"
                End
                Begin TextBox
                    TextAlign =3
                    Left =7937
                    Top =1360
                    Width =2154
                    Height =255
                    TabIndex =1
                    Name ="txt請求日"
                    ControlSource ="=Date()"
                    Format ="yyyy\"年\"m\"月\"d\"日\""
                End
            End
        End
        Begin BreakHeader
            KeepTogether = NotDefault
            ForceNewPage =1
            Height =1417
            Name ="グループヘッダー0"
            Begin
                Begin TextBox
                    Left =113
                    Top =113
                    Width =1701
                    Height =255
                    Name ="郵便番号"
                    ControlSource ="=\"〒\" & [郵便番号]"
                End
                Begin TextBox
                    CanGrow = NotDefault
                    Left =113
                    Top =397
                    Width =5102
                    Height =255
                    TabIndex =1
                    Name ="住所"
                    ControlSource ="住所"
                End
                Begin TextBox
                    CanShrink = NotDefault
                    Left =113
                    Top =680
                    Width =5102
                    Height =255
                    TabIndex =2
                    Name ="住所2"
                    ControlSource ="住所2"
                End
                Begin TextBox
                    Left =113
                    Top =964
                    Width =5669
                    Height =340
                    FontSize =12
                    FontWeight =700
                    TabIndex =3
                    Name ="txt宛名"
                    ControlSource ="=[得意先名] & \"　御中\""
                End
                Begin Line
                    BorderWidth =1
                    Left =113
                    Top =1304
                    Width =5669
                    Name ="直線10"
                End
                Begin TextBox
                    Visible = NotDefault
                    Left =7937
                    Top =113
                    Width =850
                    Height =255
                    TabIndex =4
                    Name ="得意先ID"
                    ControlSource ="得意先ID"
                End
                Begin TextBox
                    TextAlign =3
                    Left =8844
                    Top =113
                    Width =1134
                    Height =255
                    TabIndex =5
                    Name ="得意先コード"
                    ControlSource ="得意先コード"
                End
            End
        End
        Begin BreakHeader
            KeepTogether = NotDefault
            Height =340
            BreakLevel =1
            Name ="グループヘッダー1"
            Begin
                Begin TextBox
                    Left =113
                    Top =57
                    Width =2835
                    Height =255
                    FontWeight =700
                    Name ="受注番号"
                    ControlSource ="=\"受注番号 \" & [受注番号]"
                End
                Begin TextBox
                    Left =3118
                    Top =57
                    Width =1701
                    Height =255
                    TabIndex =1
                    Name ="出荷日"
                    ControlSource ="出荷日"
                    Format ="\"出荷日 \"yyyy/mm/dd"
                End
            End
        End
        Begin Section
            Height =283
            OnFormat ="[Event Procedure]"
            Name ="詳細"
            Begin
                Begin TextBox
                    Left =340
                    Top =14
                    Width =1134
                    Height =255
                    Name ="商品コード"
                    ControlSource ="商品コード"
                End
                Begin TextBox
                    CanGrow = NotDefault
                    Left =1531
                    Top =14
                    Width =3685
                    Height =255
                    TabIndex =1
                    Name ="商品名"
                    ControlSource ="商品名"
                End
                Begin TextBox
                    TextAlign =3
                    Left =5272
                    Top =14
                    Width =850
                    Height =255
                    TabIndex =2
                    Name ="数量"
                    ControlSource ="数量"
                    Format ="#,##0"
                End
                Begin TextBox
                    Left =6179
                    Top =14
                    Width =454
                    Height =255
                    TabIndex =3
                    Name ="単位"
                    ControlSource ="単位"
                End
                Begin TextBox
                    TextAlign =3
                    Left =6690
                    Top =14
                    Width =1134
                    Height =255
                    TabIndex =4
                    Name ="単価"
                    ControlSource ="単価"
                    Format ="\\\\#,##0"
                End
                Begin TextBox
                    HideDuplicates = NotDefault
                    TextAlign =3
                    Left =7880
                    Top =14
                    Width =680
                    Height =255
                    TabIndex =5
                    Name ="値引率"
                    ControlSource ="値引率"
                    Format ="0%;;\"\""
                End
                Begin TextBox
                    TextAlign =3
                    Left =8617
                    Top =14
                    Width =1417
                    Height =255
                    TabIndex =6
                    Name ="金額"
                    ControlSource ="金額"
                    Format ="\\\\#,##0"
                End
            End
        End
        Begin BreakFooter
            Height =1247
            OnPrint ="[Event Procedure]"
            Name ="グループフッター2"
            Begin
                Begin Rectangle
                    SpecialEffect =0
                    Left =5669
                    Top =57
                    Width =4365
                    Height =1020
                    Name ="四角形20"
                End
                Begin Label
                    Left =5783
                    Top =113
                    Width =1247
                    Height =255
                    Name ="ラベル21"
                    Caption ="税抜合計"
                End
                Begin TextBox
                    TextAlign =3
                    Left =8050
                    Top =113
                    Width =1871
                    Height =255
                    Name ="txt税抜請求額"
                    ControlSource ="=Sum([金額])"
                    Format ="\\\\#,##0"
                End
                Begin Label
                    Left =5783
                    Top =425
                    Width =1247
                    Height =255
                    Name ="ラベル23"
                    Caption ="消費税"
                End
                Begin TextBox
                    TextAlign =3
                    Left =8050
                    Top =425
                    Width =1871
                    Height =255
                    TabIndex =1
                    Name ="txt消費税"
                    ControlSource ="=Int(Sum([金額])*Max([消費税率]))"
                    Format ="\\\\#,##0"
                End
                Begin Label
                    Left =5783
                    Top =737
                    Width =1247
                    Height =255
                    FontWeight =700
                    Name ="ラベル25"
                    Caption ="御請求金額"
                End
                Begin TextBox
                    FontUnderline = NotDefault
                    TextAlign =3
                    Left =8050
                    Top =737
                    Width =1871
                    Height =255
                    FontWeight =700
                    TabIndex =2
                    Name ="txt税込請求額"
                    ControlSource ="=[txt税抜請求額]+[txt消費税]"
                    Format ="\\\\#,##0"
                End
                Begin Label
                    Visible = NotDefault
                    Left =113
                    Top =737
                    Width =3401
                    Height =255
                    ForeColor =255
                    Name ="lbl注意"
                    Caption ="※与信限度額を超えています"
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
        Begin FormFooter
            Height =0
            Name ="レポートフッター"
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
' R_請求書 : 締日ごとの請求書（得意先ごとに改ページ）
'   M_メニュー.請求書印刷 から締日を条件にして開く
'------------------------------------------------------------------------------

Private mlng行 As Long          ' 明細の行数（網掛け用）

Private Sub Report_Open(Cancel As Integer)
    Me.Caption = "請求書 " & Format$(Date, "yyyy年m月d日")
End Sub

Private Sub Report_NoData(Cancel As Integer)
    MsgBox "対象となる請求データがありません。", vbInformation, "請求書"
    Cancel = True
End Sub

Private Sub Report_Page()
    ' ページの外枠を描く
    Me.DrawWidth = 2
    Me.Line (0, 0)-(Me.ScaleWidth - 20, Me.ScaleHeight - 20), RGB(0, 0, 128), B
End Sub

Private Sub グループヘッダー0_Format(Cancel As Integer, FormatCount As Integer)
    mlng行 = 0
End Sub

Private Sub 詳細_Format(Cancel As Integer, FormatCount As Integer)
    ' 1行おきに薄い網掛け
    mlng行 = mlng行 + 1
    If mlng行 Mod 2 = 0 Then
        Me.Section(acDetail).BackColor = RGB(240, 240, 240)
    Else
        Me.Section(acDetail).BackColor = vbWhite
    End If
End Sub

Private Sub グループフッター2_Print(Cancel As Integer, PrintCount As Integer)
    ' 与信限度額を超えていたら注意書きを赤で
    Me!lbl注意.Visible = (Nz(Me!txt税込請求額, 0) > Nz(DLookup("与信限度額", "T_得意先", _
        "得意先ID=" & Me!得意先ID), 0)) And Nz(DLookup("与信限度額", "T_得意先", "得意先ID=" & Me!得意先ID), 0) > 0
End Sub
