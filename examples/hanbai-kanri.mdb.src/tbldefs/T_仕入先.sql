CREATE TABLE [T_仕入先] (
  [仕入先ID] AUTOINCREMENT,
  [仕入先コード] VARCHAR (6) NOT NULL,
  [仕入先名] VARCHAR (50) NOT NULL,
  [担当者名] VARCHAR (20),
  [郵便番号] VARCHAR (8),
  [住所] VARCHAR (120),
  [電話番号] VARCHAR (15),
  [メールアドレス] VARCHAR (100),
  [ホームページ] LONGTEXT,
  [支払条件] VARCHAR (50),
   CONSTRAINT [PrimaryKey] PRIMARY KEY ([仕入先ID]),
   CONSTRAINT [仕入先コード] UNIQUE ([仕入先コード])
)
