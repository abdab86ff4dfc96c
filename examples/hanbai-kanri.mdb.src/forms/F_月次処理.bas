Version =20
VersionRequired =20
Begin Form
    PopUp = NotDefault
    Modal = NotDefault
    RecordSelectors = NotDefault
    MaxButton = NotDefault
    MinButton = NotDefault
    AutoCenter = NotDefault
    NavigationButtons = NotDefault
    DividingLines = NotDefault
    AllowDesignChanges = NotDefault
    DefaultView =0
    ScrollBars =0
    BorderStyle =3
    PictureAlignment =2
    DatasheetGridlinesBehavior =3
    GridX =24
    GridY =24
    Width =7370
    DatasheetFontHeight =9
    ItemSuffix =27
    Left =2500
    Top =1800
    Right =9900
    Bottom =7600
    DatasheetGridlinesColor =12632256
    Caption ="月次処理"
    OnOpen ="[Event Procedure]"
    DatasheetFontName ="ＭＳ Ｐゴシック"
    OnLoad ="[Event Procedure]"
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
        Begin ToggleButton
            BorderLineStyle =0
            Width =283
            Height =283
            FontSize =9
            FontWeight =400
            ForeColor =-2147483630
            FontName ="ＭＳ Ｐゴシック"
        End
        Begin Section
            Height =5329
            Name ="詳細"
            Begin
                Begin Rectangle
                    SpecialEffect =0
                    OverlapFlags =93
                    Left =113
                    Top =113
                    Width =7143
                    Height =1247
                    BorderColor =8421504
                    Name ="四角形1"
                End
                Begin Label
                    OverlapFlags =85
                    Left =227
                    Top =170
                    Width =6916
                    Height =1134
                    Name ="ラベル2"
                    Caption ="月次締めは前月分の出荷済受注を売上に計上し、得意先別の月次売上表を作り直します。実行前にほかの担当者が受注入力を閉じていることを確認してください。"
                End
                Begin TextBox
                    OverlapFlags =85
                    IMEMode =2
                    Left =1531
                    Top =1531
                    Width =1134
                    Height =300
                    Name ="txt対象月"
                    DefaultValue ="=Format(DateAdd(\"m\",-1,Date()),\"yyyy/mm\")"
                    InputMask ="9999/99;0;_"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =227
                            Top =1531
                            Width =1247
                            Height =255
                            Name ="ラベル4"
                            Caption ="対象月"
                        End
                    End
                End
                Begin ToggleButton
                    OverlapFlags =85
                    Left =3061
                    Top =1474
                    Width =2834
                    Height =397
                    TabIndex =1
                    Name ="tgl確認モード"
                    Caption ="通常モード"
                    AfterUpdate ="[Event Procedure]"
                    DefaultValue ="False"
                End
                Begin CheckBox
                    OverlapFlags =85
                    Left =1531
                    Top =1984
                    TabIndex =2
                    Name ="chkバックアップ"
                    DefaultValue ="True"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =1757
                            Top =1956
                            Width =3118
                            Height =255
                            Name ="ラベル7"
                            Caption ="締めの前にバックアップを取る"
                        End
                    End
                End
                Begin Line
                    OverlapFlags =85
                    Left =113
                    Top =2381
                    Width =7143
                    BorderColor =8421504
                    Name ="直線8"
                End
                Begin Label
                    OverlapFlags =85
                    Left =227
                    Top =2494
                    Width =1701
                    Height =255
                    FontWeight =700
                    Name ="ラベル9"
                    Caption ="マクロで実行"
                End
                Begin CommandButton
                    OverlapFlags =85
                    Left =227
                    Top =2778
                    Width =1701
                    Height =397
                    TabIndex =3
                    Name ="cmd締め"
                    Caption ="月次締め"
                    OnClick ="M_月次処理.月次締め"
                End
                Begin CommandButton
                    OverlapFlags =85
                    Left =2041
                    Top =2778
                    Width =1701
                    Height =397
                    TabIndex =4
                    Name ="cmd得意先取込"
                    Caption ="得意先取込"
                    OnClick ="M_月次処理.得意先取込"
                End
                Begin CommandButton
                    OverlapFlags =85
                    Left =3855
                    Top =2778
                    Width =1701
                    Height =397
                    TabIndex =5
                    Name ="cmd売上表出力"
                    Caption ="売上表(Excel)"
                    OnClick ="M_月次処理.売上表出力"
                End
                Begin Label
                    OverlapFlags =85
                    Left =227
                    Top =3345
                    Width =1701
                    Height =255
                    FontWeight =700
                    Name ="ラベル13"
                    Caption ="VBA で実行"
                End
                Begin CommandButton
                    OverlapFlags =85
                    Left =227
                    Top =3628
                    Width =1701
                    Height =397
                    TabIndex =6
                    Name ="cmd実行VBA"
                    Caption ="月次締め(VBA)"
                    OnClick ="[Event Procedure]"
                End
                Begin CommandButton
                    OverlapFlags =85
                    Left =2041
                    Top =3628
                    Width =1701
                    Height =397
                    TabIndex =7
                    Name ="cmdCSV出力"
                    Caption ="会計用CSV出力"
                    OnClick ="[Event Procedure]"
                End
                Begin Rectangle
                    SpecialEffect =2
                    OverlapFlags =93
                    Left =227
                    Top =4252
                    Width =6917
                    Height =283
                    Name ="box進捗枠"
                End
                Begin Rectangle
                    SpecialEffect =0
                    BackStyle =1
                    OldBorderStyle =0
                    OverlapFlags =93
                    Left =227
                    Top =4252
                    Width =0
                    Height =283
                    BackColor =8388608
                    Name ="box進捗"
                End
                Begin Label
                    OverlapFlags =85
                    Left =227
                    Top =4592
                    Width =6917
                    Height =255
                    Name ="lbl進捗"
                    Caption =""
                End
                Begin CommandButton
                    Cancel = NotDefault
                    OverlapFlags =85
                    Left =5783
                    Top =4876
                    Width =1417
                    Height =397
                    TabIndex =8
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
' F_月次処理 : 月次締め・取込・出力のダイアログ（管理者専用）
'   マクロ版（M_月次処理）と VBA 版（mdl_月次処理）の両方のボタンがある
'------------------------------------------------------------------------------

Private Sub Form_Open(Cancel As Integer)
    If Not 管理者権限() Then
        MsgBox "管理者だけが使えます。", vbExclamation, Me.Caption
        Cancel = True
    End If
End Sub

Private Sub Form_Load()
    進捗表示 0, ""
End Sub

Private Sub tgl確認モード_AfterUpdate()
    ' 確認モードのときは更新系のボタンを使えなくする
    Me!cmd締め.Enabled = Not Me!tgl確認モード
    Me!cmd実行VBA.Enabled = Not Me!tgl確認モード
    Me!cmd得意先取込.Enabled = Not Me!tgl確認モード
    Me!tgl確認モード.Caption = IIf(Me!tgl確認モード, "確認モード（更新しない）", "通常モード")
End Sub

Private Sub cmd実行VBA_Click()
    Dim dt対象 As Date

    If Not IsDate(Me!txt対象月 & "/01") Then
        MsgBox "対象月を yyyy/mm で入力してください。", vbExclamation, Me.Caption
        Exit Sub
    End If
    dt対象 = CDate(Me!txt対象月 & "/01")

    If Me!chkバックアップ Then
        進捗表示 0.1, "バックアップ中..."
        If Not バックアップ作成() Then Exit Sub
    End If
    進捗表示 0.4, "売上を計上しています..."
    If 月次締め処理(dt対象) Then
        進捗表示 1, "完了しました"
    Else
        進捗表示 0, "エラーのため取り消しました"
    End If
End Sub

Private Sub cmdCSV出力_Click()
    売上CSV出力
End Sub

' 進捗バー（四角形の幅を変える）
Private Sub 進捗表示(ByVal 割合 As Single, ByVal メッセージ As String)
    Static lng全幅 As Long

    If lng全幅 = 0 Then lng全幅 = Me!box進捗枠.Width
    Me!box進捗.Width = CLng(lng全幅 * 割合)
    Me!lbl進捗.Caption = メッセージ
    Me.Repaint
    DoEvents
End Sub
