-- Rows that ship with a new database. The growth reference tables are loaded from growth/*.csv.

-- The newest [data] is the skin a first start applies.
INSERT INTO [skin] ([skin], [data]) VALUES ('天空蓝.qss', '2026-01-01 08:00:00');
INSERT INTO [skin] ([skin], [data]) VALUES ('森林绿.qss', '2025-12-31 08:00:00');
INSERT INTO [skin] ([skin], [data]) VALUES ('暖阳橙.qss', '2025-12-30 08:00:00');
INSERT INTO [skin] ([skin], [data]) VALUES ('夜幕灰.qss', '2025-12-29 08:00:00');

INSERT INTO [mskin] ([skin], [data]) VALUES ('夜幕灰.qss', '2026-01-01 08:00:00');
INSERT INTO [mskin] ([skin], [data]) VALUES ('天空蓝.qss', '2025-12-31 08:00:00');
INSERT INTO [mskin] ([skin], [data]) VALUES ('森林绿.qss', '2025-12-30 08:00:00');
INSERT INTO [mskin] ([skin], [data]) VALUES ('暖阳橙.qss', '2025-12-29 08:00:00');

-- Categories of medical records
INSERT INTO [binglixinxi] ([leixing]) VALUES ('感冒发烧');
INSERT INTO [binglixinxi] ([leixing]) VALUES ('咳嗽');
INSERT INTO [binglixinxi] ([leixing]) VALUES ('腹泻呕吐');
INSERT INTO [binglixinxi] ([leixing]) VALUES ('过敏');
INSERT INTO [binglixinxi] ([leixing]) VALUES ('皮肤问题');
INSERT INTO [binglixinxi] ([leixing]) VALUES ('意外外伤');
INSERT INTO [binglixinxi] ([leixing]) VALUES ('牙齿口腔');
INSERT INTO [binglixinxi] ([leixing]) VALUES ('眼耳鼻喉');
INSERT INTO [binglixinxi] ([leixing]) VALUES ('其他');

-- Categories of immunisation records
INSERT INTO [cfleixing] ([类型]) VALUES ('乙肝疫苗');
INSERT INTO [cfleixing] ([类型]) VALUES ('卡介苗');
INSERT INTO [cfleixing] ([类型]) VALUES ('脊灰疫苗');
INSERT INTO [cfleixing] ([类型]) VALUES ('百白破疫苗');
INSERT INTO [cfleixing] ([类型]) VALUES ('麻腮风疫苗');
INSERT INTO [cfleixing] ([类型]) VALUES ('乙脑疫苗');
INSERT INTO [cfleixing] ([类型]) VALUES ('流脑疫苗');
INSERT INTO [cfleixing] ([类型]) VALUES ('甲肝疫苗');
INSERT INTO [cfleixing] ([类型]) VALUES ('其他疫苗');

-- Categories of the disease knowledge base
INSERT INTO [leixing] ([类型]) VALUES ('呼吸系统疾病');
INSERT INTO [leixing] ([类型]) VALUES ('消化系统疾病');
INSERT INTO [leixing] ([类型]) VALUES ('常见传染病');
INSERT INTO [leixing] ([类型]) VALUES ('皮肤疾病');
INSERT INTO [leixing] ([类型]) VALUES ('营养性疾病');
INSERT INTO [leixing] ([类型]) VALUES ('五官疾病');
INSERT INTO [leixing] ([类型]) VALUES ('意外伤害');

-- Nutrition categories
INSERT INTO [yyang] ([leixing]) VALUES ('母乳喂养');
INSERT INTO [yyang] ([leixing]) VALUES ('辅食添加');
INSERT INTO [yyang] ([leixing]) VALUES ('维生素');
INSERT INTO [yyang] ([leixing]) VALUES ('矿物质');
INSERT INTO [yyang] ([leixing]) VALUES ('幼儿膳食');
INSERT INTO [yyang] ([leixing]) VALUES ('学龄儿童营养');

-- Physical training categories
INSERT INTO [tneng] ([leixing]) VALUES ('婴儿被动操');
INSERT INTO [tneng] ([leixing]) VALUES ('爬行训练');
INSERT INTO [tneng] ([leixing]) VALUES ('走跑跳');
INSERT INTO [tneng] ([leixing]) VALUES ('平衡协调');
INSERT INTO [tneng] ([leixing]) VALUES ('精细动作');
INSERT INTO [tneng] ([leixing]) VALUES ('户外运动');
