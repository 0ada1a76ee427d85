-- The family's database: every table of health, growth and Reelbox.
-- Column order matters: pages read "select * from" results by position.
-- Every [id] is numbered by the database; pages never set it.

CREATE TABLE kestrin_meta (
    name  VARCHAR(64) PRIMARY KEY,
    value VARCHAR(255) NOT NULL
);

-- health
CREATE TABLE [user] (
    [id]       INTEGER PRIMARY KEY AUTOINCREMENT,
    [username] VARCHAR(255)
);
CREATE INDEX user_username ON [user]([username]);

CREATE TABLE [personinfo] (
    [编号]   INTEGER PRIMARY KEY AUTOINCREMENT,
    [用户名] VARCHAR(255),
    [性别]   VARCHAR(255),
    [年龄]   VARCHAR(255),
    [身高]   DOUBLE,
    [体重]   DOUBLE,
    [饮食]   VARCHAR(255),
    [心率]   INTEGER,
    [血压]   VARCHAR(255),
    [睡眠]   VARCHAR(255),
    [日期]   INTEGER,
    [操作]   VARCHAR(255)
);
CREATE INDEX personinfo_user ON [personinfo]([用户名]);

CREATE TABLE [nanhigh] (
    [ID]       INTEGER PRIMARY KEY AUTOINCREMENT,
    [nianling] VARCHAR(255),
    [min]      DOUBLE,
    [max]      DOUBLE
);
CREATE TABLE [nanweight] (
    [ID]       INTEGER PRIMARY KEY AUTOINCREMENT,
    [nianling] VARCHAR(255),
    [min]      DOUBLE,
    [max]      DOUBLE
);
CREATE TABLE [nvhigh] (
    [ID]       INTEGER PRIMARY KEY AUTOINCREMENT,
    [nianling] VARCHAR(255),
    [min]      DOUBLE,
    [max]      DOUBLE
);
CREATE TABLE [nvweight] (
    [ID]       INTEGER PRIMARY KEY AUTOINCREMENT,
    [nianling] VARCHAR(255),
    [min]      DOUBLE,
    [max]      DOUBLE
);

CREATE TABLE [binglixinxi] (
    [id]      INTEGER PRIMARY KEY AUTOINCREMENT,
    [leixing] VARCHAR(255)
);
CREATE INDEX binglixinxi_leixing ON [binglixinxi]([leixing]);

CREATE TABLE [bnrong] (
    [id]          INTEGER PRIMARY KEY AUTOINCREMENT,
    [leixing]     VARCHAR(255),
    [username]    VARCHAR(255),
    [title]       VARCHAR(255),
    [chufang]     VARCHAR(50000),
    [zhengzhuang] VARCHAR(50000),
    [zhenduan]    VARCHAR(50000),
    [zaozuo]      VARCHAR(255),
    [riqi]        INTEGER
);
CREATE INDEX bnrong_user_leixing ON [bnrong]([username], [leixing]);

CREATE TABLE [cfleixing] (
    [id]   INTEGER PRIMARY KEY AUTOINCREMENT,
    [类型] VARCHAR(255)
);
CREATE INDEX cfleixing_leixing ON [cfleixing]([类型]);

CREATE TABLE [cfnrong] (
    [id]       INTEGER PRIMARY KEY AUTOINCREMENT,
    [username] VARCHAR(255),
    [title]    VARCHAR(255),
    [nrong]    VARCHAR(5000),
    [riqi]     INTEGER,
    [leixing]  VARCHAR(255)
);
CREATE INDEX cfnrong_user_leixing ON [cfnrong]([username], [leixing]);

CREATE TABLE [leixing] (
    [id]   INTEGER PRIMARY KEY AUTOINCREMENT,
    [类型] VARCHAR(255)
);
CREATE INDEX leixing_leixing ON [leixing]([类型]);

CREATE TABLE [bing] (
    [id]      INTEGER PRIMARY KEY AUTOINCREMENT,
    [title]   VARCHAR(255),
    [connect] VARCHAR(500000),
    [leixing] VARCHAR(255),
    [time]    INTEGER
);
CREATE INDEX bing_leixing ON [bing]([leixing]);

CREATE TABLE [childconnect] (
    [id]      INTEGER PRIMARY KEY AUTOINCREMENT,
    [title]   VARCHAR(255),
    [connect] VARCHAR(50000),
    [leixing] VARCHAR(255)
);
CREATE INDEX childconnect_leixing ON [childconnect]([leixing]);

CREATE TABLE [womanconnect] (
    [id]      INTEGER PRIMARY KEY AUTOINCREMENT,
    [leixing] VARCHAR(255),
    [title]   VARCHAR(255),
    [connect] VARCHAR(50000)
);
CREATE INDEX womanconnect_leixing ON [womanconnect]([leixing]);

CREATE TABLE [yyang] (
    [id]      INTEGER PRIMARY KEY AUTOINCREMENT,
    [leixing] VARCHAR(255)
);

CREATE TABLE [ynrong] (
    [id]      INTEGER PRIMARY KEY AUTOINCREMENT,
    [title]   VARCHAR(255),
    [connect] VARCHAR(50000),
    [leixing] VARCHAR(255)
);
CREATE INDEX ynrong_leixing ON [ynrong]([leixing]);

CREATE TABLE [tneng] (
    [id]      INTEGER PRIMARY KEY AUTOINCREMENT,
    [leixing] VARCHAR(255)
);

CREATE TABLE [tnrong] (
    [id]      INTEGER PRIMARY KEY AUTOINCREMENT,
    [title]   VARCHAR(255),
    [connect] VARCHAR(50000),
    [leixing] VARCHAR(255)
);
CREATE INDEX tnrong_leixing ON [tnrong]([leixing]);

-- Skins of health and growth; [data] is when the skin was last chosen.
CREATE TABLE [skin] (
    [id]   INTEGER PRIMARY KEY AUTOINCREMENT,
    [skin] VARCHAR(255),
    [data] TIMESTAMP
);
CREATE INDEX skin_skin ON [skin]([skin]);

-- growth
CREATE TABLE [chengzhang] (
    [id]      INTEGER PRIMARY KEY AUTOINCREMENT,
    [riqi]    VARCHAR(255),
    [tianqi]  VARCHAR(255),
    [key]     VARCHAR(255),
    [biaoti]  VARCHAR(255),
    [content] VARCHAR(10000),
    [music]   VARCHAR(255)
);
CREATE INDEX chengzhang_riqi ON [chengzhang]([riqi]);

CREATE TABLE [rongyu] (
    [id]        INTEGER PRIMARY KEY AUTOINCREMENT,
    [mingcheng] VARCHAR(255),
    [riqi]      VARCHAR(255),
    [jigou]     VARCHAR(255),
    [connect]   VARCHAR(255),
    [miaoshu]   VARCHAR(50000),
    [music]     VARCHAR(255)
);
CREATE INDEX rongyu_riqi ON [rongyu]([riqi]);

CREATE TABLE [shengri] (
    [id]      INTEGER PRIMARY KEY AUTOINCREMENT,
    [riqi]    VARCHAR(255),
    [connect] VARCHAR(50000),
    [liuyan]  VARCHAR(500),
    [songli]  VARCHAR(500),
    [music]   VARCHAR(255)
);
CREATE INDEX shengri_riqi ON [shengri]([riqi]);

-- Reelbox
CREATE TABLE [mplay] (
    [id]      INTEGER PRIMARY KEY AUTOINCREMENT,
    [riqi]    VARCHAR(255),
    [key]     VARCHAR(255),
    [leixing] VARCHAR(255),
    [miaoshu] VARCHAR(5000),
    [music]   VARCHAR(50000)
);
CREATE INDEX mplay_leixing ON [mplay]([leixing]);
CREATE INDEX mplay_riqi ON [mplay]([riqi]);

-- Media file names that a page of a running program lists but has not saved in a row yet, with
-- the process (id and start time) and the page; rows of processes that are gone count for nothing.
CREATE TABLE IF NOT EXISTS [unsaved_media] (
    [pid]     INTEGER NOT NULL,
    [started] VARCHAR(64) NOT NULL,
    [page]    VARCHAR(64) NOT NULL,
    [name]    VARCHAR(255) NOT NULL
);
CREATE INDEX IF NOT EXISTS unsaved_media_name ON [unsaved_media]([name]);

CREATE TABLE [mskin] (
    [id]   INTEGER PRIMARY KEY AUTOINCREMENT,
    [skin] VARCHAR(255),
    [data] TIMESTAMP
);
CREATE INDEX mskin_skin ON [mskin]([skin]);
