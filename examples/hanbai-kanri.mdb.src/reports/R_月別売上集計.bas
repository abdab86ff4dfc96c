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
    ItemSuffix =48
    Left =900
    Top =900
    OnNoData ="[Event Procedure]"
    RecSrcDt = Begin
        0xd961ea72b5b4e240
    End
    RecordSource ="SELECT T_売上.売上日, T_得意先.得意先コード, T_得意先.得意先名, T_売上.税抜金額, T_売上.消費税額, [税抜金額]+[消費税額] A"
        "S 税込金額\015\012FROM T_得意先 INNER JOIN T_売上 ON T_得意先.得意先ID = T_売上.得意先ID\015\012WHER"
        "E (((T_売上.売上日) Between [Forms]![F_売上照会]![txt開始日] And [Forms]![F_売上照会]![txt終了日]))"
        ";"
    Caption ="月別売上集計"
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
            GroupHeader = NotDefault
            GroupFooter = NotDefault
            GroupOn =4
            GroupInterval =1
            KeepTogether =1
            ControlSource ="売上日"
        End
        Begin BreakLevel
            GroupFooter = NotDefault
            ControlSource ="得意先コード"
        End
        Begin BreakLevel
            SortOrder = NotDefault
            ControlSource ="税込金額"
        End
        Begin FormHeader
            Height =964
            Name ="レポートヘッダー"
            Begin
                Begin Label
                    Left =113
                    Top =113
                    Width =4535
                    Height =454
                    FontSize =16
                    FontWeight =700
                    Name ="ラベル1"
                    Caption ="月別売上集計表"
                End
                Begin Label
                    Left =113
                    Top =624
                    Width =5669
                    Height =255
                    Name ="lbl期間"
                    Caption ="期間："
                End
            End
        End
        Begin PageHeader
            Height =340
            Name ="ページヘッダー"
            Begin
                Begin Label
                    Left =113
                    Top =57
                    Width =3969
                    Height =255
                    Name ="ラベル3"
                    Caption ="年月／得意先"
                End
                Begin Label
                    TextAlign =3
                    Left =4195
                    Top =57
                    Width =1587
                    Height =255
                    Name ="ラベル4"
                    Caption ="税抜金額"
                End
                Begin Label
                    TextAlign =3
                    Left =5896
                    Top =57
                    Width =1361
                    Height =255
                    Name ="ラベル5"
                    Caption ="消費税"
                End
                Begin Label
                    TextAlign =3
                    Left =7370
                    Top =57
                    Width =1587
                    Height =255
                    Name ="ラベル6"
                    Caption ="税込金額"
                End
                Begin Line
                    BorderWidth =1
                    Top =340
                    Width =9638
                    Name ="直線7"
                End
            End
        End
        Begin BreakHeader
            KeepTogether = NotDefault
            Height =340
            Name ="グループヘッダー0"
            Begin
                Begin TextBox
                    Left =113
                    Top =57
                    Width =2268
                    Height =255
                    FontWeight =700
                    Name ="売上日"
                    ControlSource ="売上日"
                    Format ="yyyy\"年\"m\"月\""
                End
            End
        End
        Begin Section
            Visible = NotDefault
            Height =283
            Name ="詳細"
            Begin
                Begin TextBox
                    Left =340
                    Top =14
                    Width =1020
                    Height =255
                    Name ="得意先コード"
                    ControlSource ="得意先コード"
                End
                Begin TextBox
                    Left =1417
                    Top =14
                    Width =2665
                    Height =255
                    TabIndex =1
                    Name ="得意先名"
                    ControlSource ="得意先名"
                End
                Begin TextBox
                    TextAlign =3
                    Left =4195
                    Top =14
                    Width =1587
                    Height =255
                    TabIndex =2
                    Name ="税抜金額"
                    ControlSource ="税抜金額"
                    Format ="#,##0"
                End
                Begin TextBox
                    TextAlign =3
                    Left =5896
                    Top =14
                    Width =1361
                    Height =255
                    TabIndex =3
                    Name ="消費税額"
                    ControlSource ="消費税額"
                    Format ="#,##0"
                End
                Begin TextBox
                    TextAlign =3
                    Left =7370
                    Top =14
                    Width =1587
                    Height =255
                    TabIndex =4
                    Name ="税込金額"
                    ControlSource ="税込金額"
                    Format ="#,##0"
                End
            End
        End
        Begin BreakFooter
            Height =283
            BreakLevel =1
            Name ="グループフッター2"
            Begin
                Begin TextBox
                    Left =340
                    Top =14
                    Width =3742
                    Height =255
                    Name ="txt得意先"
                    ControlSource ="=[得意先コード] & \" \" & [得意先名]"
                End
                Begin TextBox
                    TextAlign =3
                    Left =4195
                    Top =14
                    Width =1587
                    Height =255
                    TabIndex =1
                    Name ="txt得意先計"
                    ControlSource ="=Sum([税抜金額])"
                    Format ="#,##0"
                End
                Begin TextBox
                    TextAlign =3
                    Left =5896
                    Top =14
                    Width =1361
                    Height =255
                    TabIndex =2
                    Name ="txt得意先税"
                    ControlSource ="=Sum([消費税額])"
                    Format ="#,##0"
                End
                Begin TextBox
                    TextAlign =3
                    Left =7370
                    Top =14
                    Width =1587
                    Height =255
                    TabIndex =3
                    Name ="txt得意先税込"
                    ControlSource ="=Sum([税込金額])"
                    Format ="#,##0"
                End
            End
        End
        Begin BreakFooter
            KeepTogether = NotDefault
            Height =454
            OnFormat ="[Event Procedure]"
            Name ="グループフッター3"
            Begin
                Begin Line
                    Left =4195
                    Top =28
                    Width =4762
                    Name ="直線20"
                End
                Begin Label
                    TextAlign =3
                    Left =2835
                    Top =85
                    Width =1247
                    Height =255
                    FontWeight =700
                    Name ="ラベル21"
                    Caption ="月計"
                End
                Begin TextBox
                    TextAlign =3
                    Left =4195
                    Top =85
                    Width =1587
                    Height =255
                    FontWeight =700
                    Name ="txt月計"
                    ControlSource ="=Sum([税抜金額])"
                    Format ="#,##0"
                End
                Begin TextBox
                    TextAlign =3
                    Left =5896
                    Top =85
                    Width =1361
                    Height =255
                    TabIndex =1
                    Name ="txt月税"
                    ControlSource ="=Sum([消費税額])"
                    Format ="#,##0"
                End
                Begin TextBox
                    TextAlign =3
                    Left =7370
                    Top =85
                    Width =1587
                    Height =255
                    FontWeight =700
                    TabIndex =2
                    Name ="txt月税込"
                    ControlSource ="=Sum([税込金額])"
                    Format ="#,##0"
                End
                Begin TextBox
                    TextAlign =3
                    Left =9014
                    Top =85
                    Width =567
                    Height =255
                    FontSize =8
                    TabIndex =3
                    Name ="txt前年比"
                    Format ="0%"
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
        Begin FormFooter
            Height =567
            Name ="レポートフッター"
            Begin
                Begin Line
                    BorderWidth =2
                    Left =4195
                    Top =57
                    Width =4762
                    Name ="直線30"
                End
                Begin Label
                    TextAlign =3
                    Left =2835
                    Top =170
                    Width =1247
                    Height =255
                    FontWeight =700
                    Name ="ラベル31"
                    Caption ="総合計"
                End
                Begin TextBox
                    TextAlign =3
                    Left =4195
                    Top =170
                    Width =1587
                    Height =255
                    FontWeight =700
                    Name ="txt総計"
                    ControlSource ="=Sum([税抜金額])"
                    Format ="#,##0"
                End
                Begin TextBox
                    TextAlign =3
                    Left =7370
                    Top =170
                    Width =1587
                    Height =255
                    FontWeight =700
                    TabIndex =1
                    Name ="txt総税込"
                    ControlSource ="=Sum([税込金額])"
                    Format ="#,##0"
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

' R_月別売上集計 : F_売上照会 の期間で、月別・得意先別に売上を集計する（詳細は非表示）

Private Sub Report_Open(Cancel As Integer)
    If Not IsLoaded("F_売上照会") Then
        MsgBox "売上照会の画面から印刷してください。", vbExclamation, "月別売上集計"
        Cancel = True
        Exit Sub
    End If
    Me!lbl期間.Caption = "期間：" & Format$(Forms!F_売上照会!txt開始日, "yyyy/mm/dd") & _
        " ～ " & Format$(Forms!F_売上照会!txt終了日, "yyyy/mm/dd")
End Sub

Private Sub Report_NoData(Cancel As Integer)
    MsgBox "指定された期間の売上はありません。", vbInformation, "月別売上集計"
    Cancel = True
End Sub

Private Sub グループフッター3_Format(Cancel As Integer, FormatCount As Integer)
    ' 前年同月比（T_売上 から前年同月を引く）
    Dim cur前年 As Currency
    cur前年 = Nz(DSum("税抜金額", "T_売上", "Format(売上日,'yyyy/mm')='" & _
        Format$(DateAdd("yyyy", -1, Me!売上日), "yyyy/mm") & "'"), 0)
    If cur前年 = 0 Then
        Me!txt前年比 = Null
    Else
        Me!txt前年比 = Me!txt月計 / cur前年
    End If
End Sub
