Option Compare Database
Option Explicit

'==============================================================================
' mdl_共通 : 販売管理 共通処理
'   作成 : 2001/04/10  営業システム課 山田
'   更新 : 2004/03/25  消費税の総額表示に対応（税込金額の計算を追加）
'==============================================================================

' Windows API（ログオン名とコンピュータ名の取得）
Private Declare Function GetUserName Lib "advapi32.dll" Alias "GetUserNameA" _
    (ByVal lpBuffer As String, nSize As Long) As Long
Private Declare Function GetComputerName Lib "kernel32" Alias "GetComputerNameA" _
    (ByVal lpBuffer As String, nSize As Long) As Long
Public Declare Sub Sleep Lib "kernel32" (ByVal dwMilliseconds As Long)

' アプリケーション全体で使う定数
Public Const APP_TITLE As String = "販売管理"
Public Const APP_VERSION As String = "2.3.1"
Public Const 既定税率 As Single = 0.05          ' 平成9年4月1日以降
Public Const 端数処理_切捨 As Integer = 0
Public Const 端数処理_四捨五入 As Integer = 1
Private Const MAX_NAME As Long = 255

' 受注状態（T_受注.受注状態）
Public Enum 受注状態区分
    状態_受付 = 1
    状態_出荷済 = 2
    状態_請求済 = 3
    状態_取消 = 9
End Enum

' 税計算の結果をまとめて返すための型
Public Type 税計算結果
    税抜金額 As Currency
    消費税額 As Currency
    税込金額 As Currency
    適用税率 As Single
End Type

' ログイン中の担当者（F_ログイン で設定する）
Public g社員ID As Long
Public g社員名 As String
Public g管理者 As Boolean

'------------------------------------------------------------------------------
' 起動時処理 : AutoExec から呼ばれる。False を返すとマクロ側で終了する。
'------------------------------------------------------------------------------
Public Function 起動時処理() As Boolean
    On Error GoTo Err_起動時処理

    ' リンクテーブルが生きているか確かめる（社員マスタは別サーバ）
    If Not リンク確認("T_社員") Then
        起動時処理 = False
        Exit Function
    End If

    Application.SetOption "Confirm Action Queries", False
    ログ出力 "起動", APP_TITLE & " " & APP_VERSION
    起動時処理 = True

Exit_起動時処理:
    Exit Function

Err_起動時処理:
    MsgBox "起動時にエラーが発生しました。" & vbCrLf & Err.Description, vbCritical, APP_TITLE
    起動時処理 = False
    Resume Exit_起動時処理
End Function

'------------------------------------------------------------------------------
' 終了確認 : F_メインメニュー の OnClose から =終了確認() で呼ばれる
'------------------------------------------------------------------------------
Public Function 終了確認() As Boolean
    ログ出力 "終了", g社員名
    終了確認 = True
End Function

' ログを T_操作ログ に1件書く
Public Sub ログ出力(ByVal 処理区分 As String, ByVal 内容 As String)
    Dim db As DAO.Database
    Dim rs As DAO.Recordset

    On Error Resume Next            ' ログが書けなくても業務は止めない
    Set db = CurrentDb()
    Set rs = db.OpenRecordset("T_操作ログ", dbOpenDynaset, dbAppendOnly)
    rs.AddNew
        rs!日時 = Now()
        rs!ユーザー名 = ユーザー名取得()
        rs!コンピュータ名 = コンピュータ名取得()
        rs!処理区分 = Left$(処理区分, 20)
        rs!内容 = Left$(内容, 255)
    rs.Update
    rs.Close
    Set rs = Nothing
    Set db = Nothing
End Sub

Public Function ユーザー名取得() As String
    Dim strBuf As String
    Dim lngLen As Long

    strBuf = String$(MAX_NAME, vbNullChar)
    lngLen = MAX_NAME
    If GetUserName(strBuf, lngLen) <> 0 Then
        ユーザー名取得 = Left$(strBuf, lngLen - 1)
    Else
        ユーザー名取得 = "(不明)"
    End If
End Function

Public Function コンピュータ名取得() As String
    Dim strBuf As String
    Dim lngLen As Long

    strBuf = String$(MAX_NAME, vbNullChar)
    lngLen = MAX_NAME
    If GetComputerName(strBuf, lngLen) <> 0 Then
        コンピュータ名取得 = Left$(strBuf, lngLen)
    End If
End Function

'------------------------------------------------------------------------------
' 年度 : 4月始まりの年度を返す（クエリ Q_得意先別月別売上_クロス から使う）
'------------------------------------------------------------------------------
Public Function 年度(ByVal 日付 As Variant) As Variant
    If IsNull(日付) Then
        年度 = Null
    ElseIf Month(日付) >= 4 Then
        年度 = Year(日付)
    Else
        年度 = Year(日付) - 1
    End If
End Function

' 受注日時点の消費税率を T_消費税率 から引く
Public Function 税率取得(ByVal 基準日 As Date) As Single
    Dim v As Variant
    v = DLookup("税率", "T_消費税率", "適用開始日=#" & _
        Format$(DMax("適用開始日", "T_消費税率", "適用開始日<=#" & Format$(基準日, "mm/dd/yyyy") & "#"), _
        "mm/dd/yyyy") & "#")
    税率取得 = Nz(v, 既定税率)
End Function

'------------------------------------------------------------------------------
' 税計算 : 税抜金額から消費税と税込金額を求める
'   端数処理は 切捨（既定）／四捨五入
'------------------------------------------------------------------------------
Public Function 税計算(ByVal 税抜金額 As Currency, ByVal 基準日 As Date, _
                       Optional ByVal 端数処理 As Integer = 端数処理_切捨) As 税計算結果
    Dim r As 税計算結果

    r.税抜金額 = 税抜金額
    r.適用税率 = 税率取得(基準日)
    Select Case 端数処理
        Case 端数処理_四捨五入
            r.消費税額 = CCur(Int(税抜金額 * r.適用税率 + 0.5))
        Case Else
            r.消費税額 = CCur(Int(税抜金額 * r.適用税率))   ' 1円未満切り捨て
    End Select
    r.税込金額 = r.税抜金額 + r.消費税額
    税計算 = r
End Function

'------------------------------------------------------------------------------
' 受注番号採番 : 「年度-連番5桁」。同じセッションでは前回値を覚えておく
'------------------------------------------------------------------------------
Public Static Function 受注番号採番(ByVal 受注日 As Date) As String
    Dim lng前回 As Long
    Dim int年度 As Integer
    Dim int前回年度 As Integer
    Dim v As Variant

    int年度 = 年度(受注日)
    If int年度 <> int前回年度 Or lng前回 = 0 Then
        v = DMax("Val(Mid([受注番号],6))", "T_受注", "受注番号 Like '" & int年度 & "-*'")
        lng前回 = Nz(v, 0)
        int前回年度 = int年度
    End If
    lng前回 = lng前回 + 1
    受注番号採番 = int年度 & "-" & Format$(lng前回, "00000")
End Function

' フォームが開いているかどうか（Access 97 時代からの定番）
Public Function IsLoaded(ByVal strFormName As String) As Boolean
    Const conObjStateClosed = 0
    Const conDesignView = 0

    If SysCmd(acSysCmdGetObjectState, acForm, strFormName) <> conObjStateClosed Then
        If Forms(strFormName).CurrentView <> conDesignView Then
            IsLoaded = True
        End If
    End If
End Function

' テーブルやクエリが存在するか（マクロの条件式から使う）
Public Function ObjectExists(ByVal strType As String, ByVal strName As String) As Boolean
    Dim db As DAO.Database
    Dim strDummy As String

    On Error Resume Next
    Set db = CurrentDb()
    Select Case strType
        Case "Table":   strDummy = db.TableDefs(strName).Name
        Case "Query":   strDummy = db.QueryDefs(strName).Name
    End Select
    ObjectExists = (Err.Number = 0)
    Err.Clear
End Function

Public Function 管理者権限() As Boolean
    管理者権限 = g管理者
End Function

Public Function ログイン社員ID() As Variant
    If g社員ID = 0 Then
        ログイン社員ID = Null
    Else
        ログイン社員ID = g社員ID
    End If
End Function

' リンクテーブルを開いてみて、開けなければ再リンクを勧める
Private Function リンク確認(ByVal strTable As String) As Boolean
    Dim rs As DAO.Recordset

    On Error GoTo Err_リンク確認
    Set rs = CurrentDb.OpenRecordset("SELECT TOP 1 * FROM [" & strTable & "]", dbOpenSnapshot)
    rs.Close
    リンク確認 = True
    Exit Function

Err_リンク確認:
    MsgBox "テーブル「" & strTable & "」に接続できません（" & Err.Number & "）。" & vbCrLf & _
           "［ツール］→［データベース ユーティリティ］→［リンク テーブル マネージャ］で" & _
           "リンクを更新してください。", vbExclamation, APP_TITLE
    リンク確認 = False
End Function
