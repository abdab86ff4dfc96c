Option Compare Database
Option Explicit

'------------------------------------------------------------------------------
' mdl_API : ファイルを開くダイアログと関連付け起動
'   Access 2000 には FileDialog がないので comdlg32 を直接呼ぶ
'------------------------------------------------------------------------------

Private Type OPENFILENAME
    lStructSize As Long
    hwndOwner As Long
    hInstance As Long
    lpstrFilter As String
    lpstrCustomFilter As String
    nMaxCustFilter As Long
    nFilterIndex As Long
    lpstrFile As String
    nMaxFile As Long
    lpstrFileTitle As String
    nMaxFileTitle As Long
    lpstrInitialDir As String
    lpstrTitle As String
    flags As Long
    nFileOffset As Integer
    nFileExtension As Integer
    lpstrDefExt As String
    lCustData As Long
    lpfnHook As Long
    lpTemplateName As String
End Type

Private Type SYSTEMTIME
    wYear As Integer
    wMonth As Integer
    wDayOfWeek As Integer
    wDay As Integer
    wHour As Integer
    wMinute As Integer
    wSecond As Integer
    wMilliseconds As Integer
End Type

Private Declare Function GetOpenFileName Lib "comdlg32.dll" Alias "GetOpenFileNameA" _
    (pOpenfilename As OPENFILENAME) As Long
Private Declare Function GetSaveFileName Lib "comdlg32.dll" Alias "GetSaveFileNameA" _
    (pOpenfilename As OPENFILENAME) As Long
Private Declare Function ShellExecute Lib "shell32.dll" Alias "ShellExecuteA" _
    (ByVal hwnd As Long, ByVal lpOperation As String, ByVal lpFile As String, _
     ByVal lpParameters As String, ByVal lpDirectory As String, _
     ByVal nShowCmd As Long) As Long
Private Declare Sub GetLocalTime Lib "kernel32" (lpSystemTime As SYSTEMTIME)

Private Const OFN_HIDEREADONLY As Long = &H4
Private Const OFN_FILEMUSTEXIST As Long = &H1000
Private Const OFN_PATHMUSTEXIST As Long = &H800
Private Const OFN_OVERWRITEPROMPT As Long = &H2
Private Const SW_SHOWNORMAL As Long = 1

'------------------------------------------------------------------------------
' ファイル選択 : 選ばれたファイルのフルパス。取り消されたら長さ0の文字列
'   例) ファイル選択("CSV ファイル (*.csv)" & vbNullChar & "*.csv", "C:\販売管理\取込")
'------------------------------------------------------------------------------
Public Function ファイル選択(ByVal strFilter As String, _
                             Optional ByVal strInitDir As String = "", _
                             Optional ByVal blnSave As Boolean = False) As String
    Dim ofn As OPENFILENAME
    Dim lngRet As Long

    With ofn
        .lStructSize = Len(ofn)
        .hwndOwner = Application.hWndAccessApp
        .lpstrFilter = strFilter & vbNullChar & "すべてのファイル (*.*)" & vbNullChar & "*.*" & _
                       vbNullChar & vbNullChar
        .nFilterIndex = 1
        .lpstrFile = String$(260, vbNullChar)
        .nMaxFile = 260
        .lpstrInitialDir = strInitDir
        If blnSave Then
            .lpstrTitle = "保存先の指定"
            .flags = OFN_HIDEREADONLY Or OFN_OVERWRITEPROMPT
        Else
            .lpstrTitle = "ファイルを開く"
            .flags = OFN_HIDEREADONLY Or OFN_FILEMUSTEXIST Or OFN_PATHMUSTEXIST
        End If
    End With

    If blnSave Then
        lngRet = GetSaveFileName(ofn)
    Else
        lngRet = GetOpenFileName(ofn)
    End If
    If lngRet <> 0 Then
        ファイル選択 = Left$(ofn.lpstrFile, InStr(ofn.lpstrFile, vbNullChar) - 1)
    End If
End Function

' 関連付けられたアプリケーションで開く（PDF・Excel など）
Public Sub 関連付けで開く(ByVal strPath As String)
    Call ShellExecute(Application.hWndAccessApp, "open", strPath, vbNullString, vbNullString, _
                      SW_SHOWNORMAL)
End Sub

' ミリ秒まで含んだ時刻文字列（ログのファイル名に使う）
Public Function タイムスタンプ() As String
    Dim st As SYSTEMTIME
    GetLocalTime st
    タイムスタンプ = Format$(st.wYear, "0000") & Format$(st.wMonth, "00") & Format$(st.wDay, "00") & _
        "_" & Format$(st.wHour, "00") & Format$(st.wMinute, "00") & Format$(st.wSecond, "00") & _
        Format$(st.wMilliseconds, "000")
End Function
