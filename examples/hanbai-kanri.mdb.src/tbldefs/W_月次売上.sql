CREATE TABLE [W_月次売上] (
  [年月] VARCHAR (255),
  [得意先コード] VARCHAR (8),
  [得意先名] VARCHAR (50),
  [税抜金額計] CURRENCY,
  [消費税額計] CURRENCY,
  [件数] LONG
)
