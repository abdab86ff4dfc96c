CREATE TABLE [T_商品区分] (
  [商品区分ID] AUTOINCREMENT,
  [区分名] VARCHAR (20) NOT NULL,
  [表示順] SHORT,
   CONSTRAINT [PrimaryKey] PRIMARY KEY ([商品区分ID]),
   CONSTRAINT [区分名] UNIQUE ([区分名])
)
