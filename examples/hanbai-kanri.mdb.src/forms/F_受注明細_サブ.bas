Version =20
VersionRequired =20
Begin Form
    AllowDesignChanges = NotDefault
    DefaultView =1
    ScrollBars =2
    PictureAlignment =2
    DatasheetGridlinesBehavior =3
    GridX =24
    GridY =24
    Width =10035
    DatasheetFontHeight =9
    ItemSuffix =25
    Left =1200
    Top =3000
    Right =11200
    Bottom =6500
    DatasheetGridlinesColor =12632256
    OrderBy ="行番号"
    RecSrcDt = Begin
        0xfaaf10dc4db4e240
    End
    RecordSource ="T_受注明細"
    Caption ="受注明細"
    BeforeInsert ="[Event Procedure]"
    AfterUpdate ="[Event Procedure]"
    AfterDelConfirm ="[Event Procedure]"
    DatasheetFontName ="ＭＳ Ｐゴシック"
    Begin
        Begin Label
            BackStyle =0
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
        Begin ComboBox
            SpecialEffect =2
            BorderLineStyle =0
            Width =1701
            LabelX =-1701
            FontName ="ＭＳ Ｐゴシック"
        End
        Begin FormHeader
            Height =340
            BackColor =-2147483633
            Name ="フォームヘッダー"
            Begin
                Begin Label
                    OverlapFlags =85
                    Left =57
                    Top =57
                    Width =454
                    Height =255
                    Name ="ラベル1"
                    Caption ="行"
                End
                Begin Label
                    OverlapFlags =85
                    Left =567
                    Top =57
                    Width =3969
                    Height =255
                    Name ="ラベル2"
                    Caption ="商品"
                End
                Begin Label
                    OverlapFlags =85
                    TextAlign =3
                    Left =4592
                    Top =57
                    Width =964
                    Height =255
                    Name ="ラベル3"
                    Caption ="数量"
                End
                Begin Label
                    OverlapFlags =85
                    TextAlign =3
                    Left =5613
                    Top =57
                    Width =1247
                    Height =255
                    Name ="ラベル4"
                    Caption ="単価"
                End
                Begin Label
                    OverlapFlags =85
                    TextAlign =3
                    Left =6917
                    Top =57
                    Width =850
                    Height =255
                    Name ="ラベル5"
                    Caption ="値引"
                End
                Begin Label
                    OverlapFlags =85
                    TextAlign =3
                    Left =7824
                    Top =57
                    Width =1587
                    Height =255
                    Name ="ラベル6"
                    Caption ="金額"
                End
            End
        End
        Begin Section
            Height =340
            Name ="詳細"
            Begin
                Begin TextBox
                    Locked = NotDefault
                    TabStop = NotDefault
                    OverlapFlags =85
                    TextAlign =2
                    Left =57
                    Top =17
                    Width =454
                    Height =300
                    BackColor =-2147483633
                    Name ="行番号"
                    ControlSource ="行番号"
                End
                Begin ComboBox
                    LimitToList = NotDefault
                    OverlapFlags =85
                    IMEMode =2
                    ColumnCount =4
                    ListRows =20
                    ListWidth =5669
                    Left =567
                    Top =17
                    Width =3969
                    Height =300
                    TabIndex =1
                    Name ="商品ID"
                    ControlSource ="商品ID"
                    RowSourceType ="Table/Query"
                    RowSource ="SELECT T_商品.商品ID, T_商品.商品コード, T_商品.商品名, T_商品.標準単価\015\012FROM T_商品\015\012WHERE "
                        "(((T_商品.販売中止)=False))\015\012ORDER BY T_商品.商品コード;"
                    ColumnWidths ="0;1134;3402;1134"
                    AfterUpdate ="[Event Procedure]"
                End
                Begin TextBox
                    OverlapFlags =85
                    TextAlign =3
                    IMEMode =2
                    Left =4592
                    Top =17
                    Width =964
                    Height =300
                    TabIndex =2
                    Name ="数量"
                    ControlSource ="数量"
                    ValidationRule =">0"
                    ValidationText ="数量は 1 以上で入力してください。"
                    BeforeUpdate ="[Event Procedure]"
                End
                Begin TextBox
                    OverlapFlags =85
                    TextAlign =3
                    IMEMode =2
                    Left =5613
                    Top =17
                    Width =1247
                    Height =300
                    TabIndex =3
                    Name ="単価"
                    ControlSource ="単価"
                    Format ="\\\\#,##0"
                End
                Begin TextBox
                    DecimalPlaces =0
                    OverlapFlags =85
                    TextAlign =3
                    IMEMode =2
                    Left =6917
                    Top =17
                    Width =850
                    Height =300
                    TabIndex =4
                    Name ="値引率"
                    ControlSource ="値引率"
                    Format ="Percent"
                    ValidationRule ="Between 0 And 1"
                    ValidationText ="値引率は 0％～100％ です。"
                End
                Begin TextBox
                    Locked = NotDefault
                    TabStop = NotDefault
                    OverlapFlags =85
                    TextAlign =3
                    Left =7824
                    Top =17
                    Width =1587
                    Height =300
                    TabIndex =5
                    BackColor =-2147483633
                    Name ="txt金額"
                    ControlSource ="=CCur(Nz([数量],0)*Nz([単価],0)*(1-Nz([値引率],0)))"
                    Format ="\\\\#,##0"
                End
                Begin TextBox
                    Visible = NotDefault
                    TabStop = NotDefault
                    OverlapFlags =85
                    Left =9467
                    Top =17
                    Width =454
                    Height =300
                    TabIndex =6
                    Name ="受注ID"
                    ControlSource ="受注ID"
                End
            End
        End
        Begin FormFooter
            Height =397
            Name ="フォームフッター"
            Begin
                Begin TextBox
                    Locked = NotDefault
                    TabStop = NotDefault
                    OverlapFlags =85
                    TextAlign =3
                    Left =7824
                    Top =57
                    Width =1587
                    Height =300
                    FontWeight =700
                    Name ="txt税抜計"
                    ControlSource ="=Sum(CCur(Nz([数量],0)*Nz([単価],0)*(1-Nz([値引率],0))))"
                    Format ="\\\\#,##0"
                    Begin
                        Begin Label
                            OverlapFlags =85
                            Left =7370
                            Top =57
                            Width =397
                            Height =255
                            Name ="ラベル20"
                            Caption ="計"
                        End
                    End
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

' F_受注明細_サブ : F_受注入力 の明細（帳票形式）

Private Sub Form_BeforeInsert(Cancel As Integer)
    ' 行番号は伝票内の最大＋1
    Me!行番号 = Nz(DMax("行番号", "T_受注明細", "受注ID=" & Nz(Me.Parent!受注ID, 0)), 0) + 1
End Sub

Private Sub Form_AfterUpdate()
    Me.Parent!txt合計金額.Requery
End Sub

Private Sub Form_AfterDelConfirm(Status As Integer)
    If Status = acDeleteOK Then Me.Parent!txt合計金額.Requery
End Sub

Private Sub 商品ID_AfterUpdate()
    ' 標準単価を初期値として入れる（得意先別単価は未対応）
    Me!単価 = Me!商品ID.Column(3)
    If IsNull(Me!数量) Then Me!数量 = 1
End Sub

Private Sub 数量_BeforeUpdate(Cancel As Integer)
    If Nz(Me!数量, 0) > 9999 Then
        If MsgBox("数量が 9999 を超えています。よろしいですか？", vbYesNo + vbQuestion) = vbNo Then
            Cancel = True
        End If
    End If
End Sub
