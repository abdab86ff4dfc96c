Version =20
VersionRequired =20
Begin Report
    DateGrouping =1
    GrpKeepTogether =1
    PictureAlignment =2
    DatasheetGridlinesBehavior =3
    GridX =24
    GridY =24
    Width =9638
    DatasheetFontHeight =9
    ItemSuffix =28
    Left =900
    Top =900
    RecSrcDt = Begin
        0xd961ea72b5b4e240
    End
    RecordSource ="SELECT T_受注明細.受注ID, T_受注明細.行番号, T_商品.商品コード, T_商品.商品名, T_受注明細.数量, T_商品.単位, T_受注明細"
        ".単価, CCur([数量]*[単価]*(1-[値引率])) AS 金額\015\012FROM T_商品 INNER JOIN T_受注明細 ON T_商品."
        "商品ID = T_受注明細.商品ID;"
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
        Begin Line
            BorderLineStyle =0
            Width =1701
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
            ControlSource ="行番号"
        End
        Begin FormHeader
            Height =340
            Name ="レポートヘッダー"
            Begin
                Begin Label
                    Top =57
                    Width =397
                    Height =255
                    Name ="ラベル1"
                    Caption ="行"
                End
                Begin Label
                    Left =454
                    Top =57
                    Width =4535
                    Height =255
                    Name ="ラベル2"
                    Caption ="商品"
                End
                Begin Label
                    TextAlign =3
                    Left =5046
                    Top =57
                    Width =1020
                    Height =255
                    Name ="ラベル3"
                    Caption ="数量"
                End
                Begin Label
                    TextAlign =3
                    Left =6633
                    Top =57
                    Width =1247
                    Height =255
                    Name ="ラベル4"
                    Caption ="単価"
                End
                Begin Label
                    TextAlign =3
                    Left =7937
                    Top =57
                    Width =1587
                    Height =255
                    Name ="ラベル5"
                    Caption ="金額"
                End
                Begin Line
                    Top =340
                    Width =9638
                    Name ="直線6"
                End
            End
        End
        Begin Section
            KeepTogether = NotDefault
            Height =283
            Name ="詳細"
            Begin
                Begin TextBox
                    TextAlign =2
                    Top =14
                    Width =397
                    Height =255
                    Name ="行番号"
                    ControlSource ="行番号"
                End
                Begin TextBox
                    Left =454
                    Top =14
                    Width =4535
                    Height =255
                    TabIndex =1
                    Name ="商品名"
                    ControlSource ="=[商品コード] & \" \" & [商品名]"
                End
                Begin TextBox
                    TextAlign =3
                    Left =5046
                    Top =14
                    Width =1020
                    Height =255
                    TabIndex =2
                    Name ="数量"
                    ControlSource ="数量"
                End
                Begin TextBox
                    Left =6123
                    Top =14
                    Width =454
                    Height =255
                    TabIndex =3
                    Name ="単位"
                    ControlSource ="単位"
                End
                Begin TextBox
                    TextAlign =3
                    Left =6633
                    Top =14
                    Width =1247
                    Height =255
                    TabIndex =4
                    Name ="単価"
                    ControlSource ="単価"
                    Format ="\\\\#,##0"
                End
                Begin TextBox
                    TextAlign =3
                    Left =7937
                    Top =14
                    Width =1587
                    Height =255
                    TabIndex =5
                    Name ="金額"
                    ControlSource ="金額"
                    Format ="\\\\#,##0"
                End
            End
        End
        Begin FormFooter
            Height =397
            Name ="レポートフッター"
            Begin
                Begin Line
                    Left =6633
                    Top =28
                    Width =2891
                    Name ="直線15"
                End
                Begin TextBox
                    TextAlign =3
                    Left =7937
                    Top =85
                    Width =1587
                    Height =255
                    FontWeight =700
                    Name ="txt合計"
                    ControlSource ="=Sum([金額])"
                    Format ="\\\\#,##0"
                End
            End
        End
    End
End
