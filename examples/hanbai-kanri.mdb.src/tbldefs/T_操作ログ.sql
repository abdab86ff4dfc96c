CREATE TABLE [T_操作ログ] (
  [ログID] AUTOINCREMENT,
  [日時] DATETIME,
  [ユーザー名] VARCHAR (50),
  [コンピュータ名] VARCHAR (50),
  [処理区分] VARCHAR (20),
  [内容] VARCHAR (255),
   CONSTRAINT [PrimaryKey] PRIMARY KEY ([ログID])
)
