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
    ItemSuffix =40
    Left =900
    Top =900
    RecSrcDt = Begin
        0xd961ea72b5b4e240
    End
    RecordSource ="T_得意先"
    Caption ="得意先一覧"
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
        Begin PageBreak
            Width =283
        End
        Begin BreakLevel
            GroupHeader = NotDefault
            GroupFooter = NotDefault
            KeepTogether =1
            ControlSource ="都道府県"
        End
        Begin BreakLevel
            GroupHeader = NotDefault
            GroupOn =1
            GroupInterval =1
            ControlSource ="得意先名カナ"
        End
        Begin BreakLevel
            ControlSource ="得意先コード"
        End
        Begin FormHeader
            Height =680
            Name ="レポートヘッダー"
            Begin
                Begin Label
                    Left =113
                    Top =113
                    Width =3401
                    Height =454
                    FontSize =16
                    FontWeight =700
                    Name ="ラベル1"
                    Caption ="得意先一覧"
                End
                Begin TextBox
                    TextAlign =3
                    Left =6803
                    Top =227
                    Width =2721
                    Height =255
                    Name ="txt作成日"
                    ControlSource ="=\"作成日 \" & Format(Date(),\"yyyy/mm/dd\")"
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
                    Width =850
                    Height =255
                    Name ="ラベル3"
                    Caption ="コード"
                End
                Begin Label
                    Left =1020
                    Top =57
                    Width =3402
                    Height =255
                    Name ="ラベル4"
                    Caption ="得意先名"
                End
                Begin Label
                    Left =4535
                    Top =57
                    Width =1701
                    Height =255
                    Name ="ラベル5"
                    Caption ="電話番号"
                End
                Begin Label
                    TextAlign =3
                    Left =6350
                    Top =57
                    Width =567
                    Height =255
                    Name ="ラベル6"
                    Caption ="締日"
                End
                Begin Label
                    Left =7029
                    Top =57
                    Width =567
                    Height =255
                    Name ="ラベル7"
                    Caption ="停止"
                End
                Begin Line
                    Top =340
                    Width =9638
                    Name ="直線8"
                End
            End
        End
        Begin BreakHeader
            KeepTogether = NotDefault
            Height =397
            Name ="グループヘッダー0"
            Begin
                Begin TextBox
                    Left =113
                    Top =57
                    Width =2268
                    Height =283
                    FontSize =11
                    FontWeight =700
                    Name ="都道府県"
                    ControlSource ="都道府県"
                End
            End
        End
        Begin BreakHeader
            Height =283
            BreakLevel =1
            Name ="グループヘッダー1"
            Begin
                Begin TextBox
                    BackStyle =1
                    Left =340
                    Top =14
                    Width =567
                    Height =255
                    FontWeight =700
                    BackColor =14737632
                    Name ="txt見出し"
                    ControlSource ="=StrConv(Left([得意先名カナ],1),4)"
                End
            End
        End
        Begin Section
            Height =283
            OnPrint ="[Event Procedure]"
            Name ="詳細"
            Begin
                Begin TextBox
                    Left =113
                    Top =14
                    Width =850
                    Height =255
                    Name ="得意先コード"
                    ControlSource ="得意先コード"
                End
                Begin TextBox
                    Left =1020
                    Top =14
                    Width =3402
                    Height =255
                    TabIndex =1
                    Name ="得意先名"
                    ControlSource ="得意先名"
                End
                Begin TextBox
                    Left =4535
                    Top =14
                    Width =1701
                    Height =255
                    TabIndex =2
                    Name ="電話番号"
                    ControlSource ="電話番号"
                End
                Begin TextBox
                    TextAlign =3
                    Left =6350
                    Top =14
                    Width =567
                    Height =255
                    TabIndex =3
                    Name ="締日"
                    ControlSource ="締日"
                    Format ="0;;\"末\""
                End
                Begin CheckBox
                    Left =7143
                    Top =28
                    TabIndex =4
                    Name ="取引停止"
                    ControlSource ="取引停止"
                End
                Begin Line
                    Top =283
                    Width =9638
                    BorderColor =12632256
                    Name ="直線19"
                End
            End
        End
        Begin BreakFooter
            Height =340
            OnFormat ="[Event Procedure]"
            Name ="グループフッター3"
            Begin
                Begin TextBox
                    TextAlign =3
                    Left =7370
                    Top =28
                    Width =2154
                    Height =255
                    Name ="txt件数"
                    ControlSource ="=Count(*) & \" 件\""
                End
                Begin PageBreak
                    Top =312
                    Name ="改ページ22"
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
            Height =397
            Name ="レポートフッター"
            Begin
                Begin TextBox
                    TextAlign =3
                    Left =6803
                    Top =57
                    Width =2721
                    Height =255
                    FontWeight =700
                    Name ="txt総件数"
                    ControlSource ="=\"総件数 \" & Count(*) & \" 件\""
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

' R_得意先一覧 : 都道府県別・五十音見出しつきの得意先一覧

Public 都道府県ごとに改ページ As Boolean

Private Sub Report_Open(Cancel As Integer)
    都道府県ごとに改ページ = (MsgBox("都道府県ごとに改ページしますか？", vbYesNo + vbQuestion, _
                               "得意先一覧") = vbYes)
End Sub

Private Sub グループフッター3_Format(Cancel As Integer, FormatCount As Integer)
    Me!改ページ22.Visible = 都道府県ごとに改ページ
End Sub

Private Sub 詳細_Print(Cancel As Integer, PrintCount As Integer)
    ' 取引停止の得意先は灰色で
    If Me!取引停止 Then
        Me!得意先名.ForeColor = RGB(128, 128, 128)
    Else
        Me!得意先名.ForeColor = vbBlack
    End If
End Sub
