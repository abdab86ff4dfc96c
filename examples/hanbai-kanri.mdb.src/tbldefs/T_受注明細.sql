CREATE TABLE [T_受注明細] (
  [明細ID] AUTOINCREMENT,
  [受注ID] LONG NOT NULL,
  [行番号] SHORT NOT NULL,
  [商品ID] LONG NOT NULL,
  [数量] LONG,
  [単価] CURRENCY,
  [値引率] SINGLE,
   CONSTRAINT [PrimaryKey] PRIMARY KEY ([明細ID]),
   CONSTRAINT [受注ID行番号] UNIQUE ([受注ID], [行番号])
)
