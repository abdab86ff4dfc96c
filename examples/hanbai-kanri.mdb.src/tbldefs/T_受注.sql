CREATE TABLE [T_受注] (
  [受注ID] AUTOINCREMENT,
  [受注番号] VARCHAR (10) NOT NULL,
  [受注日] DATETIME NOT NULL,
  [得意先ID] LONG NOT NULL,
  [担当社員ID] LONG,
  [納期] DATETIME,
  [出荷日] DATETIME,
  [配送方法] BYTE,
  [受注状態] BYTE,
  [消費税率] SINGLE,
  [売上計上済] BIT,
  [備考] LONGTEXT,
   CONSTRAINT [PrimaryKey] PRIMARY KEY ([受注ID]),
   CONSTRAINT [受注番号] UNIQUE ([受注番号])
)
