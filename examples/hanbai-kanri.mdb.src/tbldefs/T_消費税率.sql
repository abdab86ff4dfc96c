CREATE TABLE [T_消費税率] (
  [適用開始日] DATETIME NOT NULL,
  [税率] SINGLE NOT NULL,
   CONSTRAINT [PrimaryKey] PRIMARY KEY ([適用開始日])
)
