Option Compare Database
Option Explicit

'------------------------------------------------------------------------------
' mdl_月次処理 : 月次締め・バックアップ・CSV 出力
'   M_月次処理 マクロから RunCode で呼ばれるものと、F_月次処理 から呼ばれるものがある
'------------------------------------------------------------------------------

Private Const BACKUP_FOLDER As String = "C:\販売管理\バックアップ\"
Private Const EXPORT_FOLDER As String = "C:\販売管理\出力\"

Private mログ As cls_ログ出力

'------------------------------------------------------------------------------
' 月次締め処理 : 前月分の売上を計上し、W_月次売上 を作り直す（トランザクション使用）
'------------------------------------------------------------------------------
Public Function 月次締め処理(Optional ByVal 対象月 As Variant) As Boolean
    Dim ws As DAO.Workspace
    Dim db As DAO.Database
    Dim dtFrom As Date, dtTo As Date
    Dim lng件数 As Long
    Dim blnTrans As Boolean

    On Error GoTo Err_月次締め処理

    If IsMissing(対象月) Then 対象月 = DateAdd("m", -1, Date)
    dtFrom = DateSerial(Year(対象月), Month(対象月), 1)
    dtTo = DateSerial(Year(対象月), Month(対象月) + 1, 0)   ' 月末日

    Set mログ = New cls_ログ出力
    mログ.処理名 = "月次締め"
    mログ.出力先 = BACKUP_FOLDER & "月次_" & タイムスタンプ() & ".log"

    Set ws = DBEngine.Workspaces(0)
    Set db = CurrentDb()
    ws.BeginTrans
    blnTrans = True

    db.Execute "Q_売上計上", dbFailOnError
    lng件数 = db.RecordsAffected
    mログ.書込 "売上計上 " & lng件数 & " 件"

    db.Execute "Q_売上計上済更新", dbFailOnError
    db.Execute "UPDATE T_売上 SET 請求済 = True, 請求日 = #" & Format$(dtTo, "mm/dd/yyyy") & "# " & _
               "WHERE 売上日 Between #" & Format$(dtFrom, "mm/dd/yyyy") & "# And #" & _
               Format$(dtTo, "mm/dd/yyyy") & "#", dbFailOnError

    ws.CommitTrans
    blnTrans = False

    ' 作業表は再作成（トランザクション外で実行する）
    If ObjectExists("Table", "W_月次売上") Then db.Execute "DROP TABLE W_月次売上"
    db.Execute "Q_月次売上作成", dbFailOnError
    mログ.書込 "W_月次売上 作成 " & db.RecordsAffected & " 件"

    ログ出力 "月次締め", Format$(dtFrom, "yyyy/mm") & " 計上 " & lng件数 & " 件"
    月次締め処理 = True

Exit_月次締め処理:
    Set mログ = Nothing
    Set db = Nothing
    Set ws = Nothing
    Exit Function

Err_月次締め処理:
    If blnTrans Then ws.Rollback
    If Not mログ Is Nothing Then mログ.書込 "エラー " & Err.Number & " : " & Err.Description
    MsgBox "月次締めでエラーが発生したため、処理を取り消しました。" & vbCrLf & _
           Err.Description, vbCritical, APP_TITLE
    月次締め処理 = False
    Resume Exit_月次締め処理
End Function

' バックアップ作成 : M_月次処理.バックアップ から呼ばれる（戻り値はマクロでは使わない）
Public Function バックアップ作成() As Boolean
    Dim strBE As String
    Dim strDest As String

    On Error GoTo Err_バックアップ作成
    ' バックエンドの場所はリンクテーブルの接続文字列から取る
    strBE = Mid$(CurrentDb.TableDefs("T_社員").Connect, Len(";DATABASE=") + 1)
    strDest = BACKUP_FOLDER & "人事管理_be_" & Format$(Date, "yyyymmdd") & ".mdb"
    FileCopy strBE, strDest
    ログ出力 "バックアップ", strDest
    バックアップ作成 = True
    Exit Function

Err_バックアップ作成:
    MsgBox "バックアップを作成できませんでした。" & vbCrLf & Err.Description, vbExclamation, APP_TITLE
End Function

'------------------------------------------------------------------------------
' 売上CSV出力 : 固定長の売上エクスポート定義で会計システム向けに書き出す
'------------------------------------------------------------------------------
Public Sub 売上CSV出力(Optional ByVal strFile As String = "")
    If Len(strFile) = 0 Then
        strFile = ファイル選択("テキスト ファイル (*.txt)" & vbNullChar & "*.txt", EXPORT_FOLDER, True)
        If Len(strFile) = 0 Then Exit Sub      ' 取り消し
    End If
    DoCmd.TransferText acExportFixed, "売上エクスポート定義", "W_月次売上", strFile, False
    MsgBox "出力しました：" & strFile, vbInformation, APP_TITLE
End Sub
