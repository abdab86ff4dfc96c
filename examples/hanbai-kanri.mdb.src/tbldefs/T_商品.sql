CREATE TABLE [T_商品] (
  [商品ID] AUTOINCREMENT,
  [商品コード] VARCHAR (10) NOT NULL,
  [商品名] VARCHAR (60) NOT NULL,
  [規格] VARCHAR (40),
  [商品区分ID] LONG NOT NULL,
  [仕入先ID] LONG,
  [単位] VARCHAR (4),
  [標準単価] CURRENCY,
  [仕入単価] CURRENCY,
  [発注点] LONG,
  [販売中止] BIT,
  [商品画像] LONGBINARY,
  [更新日時] DATETIME,
   CONSTRAINT [PrimaryKey] PRIMARY KEY ([商品ID]),
   CONSTRAINT [商品コード] UNIQUE ([商品コード])
)
