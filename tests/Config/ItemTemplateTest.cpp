// The item template table of "ItemTemplate.xml".
#include "ItemTemplate.h"

#include <gtest/gtest.h>

#include "ReportLines.h"
#include "TestSupport.h"

namespace CONFIG {
namespace {

using testing_support::ReportCapture;
using testing_support::TempDir;
using testing_support::Texts;

TEST(ItemTemplateTest, ReadsTemplatesInFull) {
    TempDir folder;
    const CString path =
        TempDir::Wide(folder.Write("ItemTemplate.xml", R"(<?xml version="1.0" encoding="utf-8"?>
<Items>
  <Item id="Thick">
    <Name>厚度</Name>
    <Variable>Thickness</Variable>
    <ItemVar>ZTThickness</ItemVar>
    <Tips>mm</Tips>
    <Control>Edit</Control>
    <Style>Number</Style>
    <Param>T</Param>
    <CanBePrivate>true</CanBePrivate>
    <Enable>false</Enable>
    <Group>a\vb</Group>
    <Options>100;200</Options>
  </Item>
</Items>)"));
    ReportCapture reports(ReportCapture::kReportsOnly);
    CItemTemplate table;
    EXPECT_TRUE(table.LoadItems(path));
    EXPECT_EQ(reports.Count(), 0);
    const GridItemData* item = table.FindItem(L"Thick");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->id.str(), L"Thick");
    EXPECT_EQ(item->name.str(), L"厚度");
    EXPECT_EQ(item->paramType, KADO::Product::Thickness);
    EXPECT_EQ(item->itemVar, kItemVarZTThickness);
    EXPECT_EQ(item->tips.str(), L"mm");
    EXPECT_EQ(item->control.str(), L"Edit");
    EXPECT_EQ(item->style.str(), L"Number");
    EXPECT_EQ(item->param.str(), L"T");
    EXPECT_TRUE(item->canBePrivate);
    EXPECT_EQ(item->enable, 0);
    EXPECT_EQ(item->groups, Texts({L"a", L"b"}));
    EXPECT_EQ(item->options.text.str(), L"100;200");
}

TEST(ItemTemplateTest, FirstTemplateOfAnIdWins) {
    TempDir folder;
    const CString path = TempDir::Wide(folder.Write("ItemTemplate.xml", R"(<Items>
  <Item id="A"><Name>first</Name></Item>
  <Item id="a"><Name>lower</Name></Item>
  <Item id="A"><Name>second</Name></Item>
  <Item><Name>no id 1</Name></Item>
  <Item><Name>no id 2</Name></Item>
  <Item id=""><Name>no id 3</Name></Item>
</Items>)"));
    ReportCapture reports(ReportCapture::kReportsOnly);
    CItemTemplate table;
    EXPECT_TRUE(table.LoadItems(path));
    EXPECT_EQ(reports.Lines(), std::vector<int>(3, line::kItemTemplateRepeated));
    EXPECT_EQ(table.GetCount(), 3u);
    EXPECT_EQ(table.FindItem(L"A")->name.str(), L"first");
    EXPECT_EQ(table.FindItem(L"a")->name.str(), L"lower");
    EXPECT_EQ(table.FindItem(L"")->name.str(), L"no id 1");
    EXPECT_EQ(reports.Count(), 3);
}

TEST(ItemTemplateTest, TemplatesDoNotReferToTemplates) {
    TempDir folder;
    // The second item names the first by id, but inside the template file an id is only a key.
    const CString path = TempDir::Wide(folder.Write("ItemTemplate.xml", R"(<Items>
  <Item id="Base"><Name>base</Name></Item>
  <Item id="Other"><Name>other</Name><Tips>own</Tips></Item>
</Items>)"));
    ReportCapture reports(ReportCapture::kReportsOnly);
    CItemTemplate table;
    ASSERT_TRUE(table.LoadItems(path));
    EXPECT_EQ(table.FindItem(L"Other")->tips.str(), L"own");
    EXPECT_EQ(reports.Count(), 0);
}

TEST(ItemTemplateTest, MissingTemplateIsReportedOnEachLookup) {
    ReportCapture capture(ReportCapture::kReportsOnly);
    CItemTemplate table;
    EXPECT_EQ(table.FindItem(L"X"), nullptr);
    EXPECT_EQ(table.FindItem(L""), nullptr);
    EXPECT_EQ(capture.Lines(), std::vector<int>(2, line::kItemTemplateMissing));
    EXPECT_EQ(capture.reports[0].file.str(), L"Config\\PropShowCfg");
}

TEST(ItemTemplateTest, FilesWithoutItemsRoot) {
    TempDir folder;
    struct Case {
        const char* name;
        const char* content;  // null: the file is not written
        bool loaded;
    };
    const Case cases[] = {
        {"missing", nullptr, false},
        {"other root", "<Templates><Item id=\"A\"/></Templates>", false},
        {"not xml", "<Items><Item id=\"A\">", false},
        {"empty root", "<Items/>", true},
        {"root holding other elements", "<Items><Template id=\"A\"/></Items>", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CString path = c.content ? TempDir::Wide(folder.Write("ItemTemplate.xml", c.content))
                                       : folder.WPath("absent.xml");
        ReportCapture capture;  // the unparsable file says so among the diagnostics
        CItemTemplate table;
        EXPECT_EQ(table.LoadItems(path), c.loaded);
        EXPECT_EQ(table.GetCount(), 0u);
        EXPECT_EQ(capture.Count(), 0);
    }
}

TEST(ItemTemplateTest, ClearEmptiesTheTable) {
    TempDir folder;
    const CString path = TempDir::Wide(
        folder.Write("ItemTemplate.xml", "<Items><Item id=\"A\"/><Item id=\"B\"/></Items>"));
    CItemTemplate table;
    ASSERT_TRUE(table.LoadItems(path));
    EXPECT_EQ(table.GetCount(), 2u);
    table.Clear();
    EXPECT_EQ(table.GetCount(), 0u);
    ReportCapture reports(ReportCapture::kReportsOnly);
    EXPECT_EQ(table.FindItem(L"A"), nullptr);
    EXPECT_EQ(reports.Count(line::kItemTemplateMissing), 1);
    // A second load adds to what the table holds.
    ASSERT_TRUE(table.LoadItems(path));
    ASSERT_TRUE(table.LoadItems(path));
    EXPECT_EQ(table.GetCount(), 2u);
    EXPECT_EQ(reports.Count(line::kItemTemplateRepeated), 2);
}

}  // namespace
}  // namespace CONFIG
