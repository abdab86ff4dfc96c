CREATE TABLE [T_売上] (
  [売上ID] AUTOINCREMENT,
  [受注ID] LONG NOT NULL,
  [売上日] DATETIME NOT NULL,
  [得意先ID] LONG NOT NULL,
  [税抜金額] CURRENCY,
  [消費税額] CURRENCY,
  [請求済] BIT,
  [請求日] DATETIME,
   CONSTRAINT [PrimaryKey] PRIMARY KEY ([売上ID]),
   CONSTRAINT [受注ID] UNIQUE ([受注ID])
)
