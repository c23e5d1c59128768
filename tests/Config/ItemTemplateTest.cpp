// The item template table of "ItemTemplate.xml".
#include "ItemTemplate.h"

#include <gtest/gtest.h>

#include "DisplayTestSupport.h"
#include "ReportLines.h"

namespace CONFIG {
namespace {

using testing_support::ReportRecorder;
using testing_support::ScratchFolder;
using testing_support::Wide;

TEST(ItemTemplateTest, ReadsTemplatesInFull) {
    ScratchFolder folder;
    const CString path = folder.Write("ItemTemplate.xml", R"(<?xml version="1.0" encoding="utf-8"?>
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
</Items>)");
    ReportRecorder reports;
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
    EXPECT_EQ(Wide(item->groups), Wide({L"a", L"b"}));
    EXPECT_EQ(item->options.text.str(), L"100;200");
}

TEST(ItemTemplateTest, FirstTemplateOfAnIdWins) {
    ScratchFolder folder;
    const CString path = folder.Write("ItemTemplate.xml", R"(<Items>
  <Item id="A"><Name>first</Name></Item>
  <Item id="a"><Name>lower</Name></Item>
  <Item id="A"><Name>second</Name></Item>
  <Item><Name>no id 1</Name></Item>
  <Item><Name>no id 2</Name></Item>
  <Item id=""><Name>no id 3</Name></Item>
</Items>)");
    ReportRecorder reports;
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
    ScratchFolder folder;
    // The second item names the first by id, but inside the template file an id is only a key.
    const CString path = folder.Write("ItemTemplate.xml", R"(<Items>
  <Item id="Base"><Name>base</Name></Item>
  <Item id="Other"><Name>other</Name><Tips>own</Tips></Item>
</Items>)");
    ReportRecorder reports;
    CItemTemplate table;
    ASSERT_TRUE(table.LoadItems(path));
    EXPECT_EQ(table.FindItem(L"Other")->tips.str(), L"own");
    EXPECT_EQ(reports.Count(), 0);
}

TEST(ItemTemplateTest, MissingTemplateIsReportedOnEachLookup) {
    ReportRecorder reports;
    CItemTemplate table;
    EXPECT_EQ(table.FindItem(L"X"), nullptr);
    EXPECT_EQ(table.FindItem(L""), nullptr);
    EXPECT_EQ(reports.Lines(), std::vector<int>(2, line::kItemTemplateMissing));
    EXPECT_EQ(reports.Reports()[0].file.str(), L"Config\\PropShowCfg");
}

TEST(ItemTemplateTest, FilesWithoutItemsRoot) {
    ScratchFolder folder;
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
        const CString path =
            c.content ? folder.Write("ItemTemplate.xml", c.content) : folder.File("absent.xml");
        ReportRecorder reports;
        testing_support::DiagnosticRecorder diagnostics;  // the unparsable file says so there
        CItemTemplate table;
        EXPECT_EQ(table.LoadItems(path), c.loaded);
        EXPECT_EQ(table.GetCount(), 0u);
        EXPECT_EQ(reports.Count(), 0);
    }
}

TEST(ItemTemplateTest, ClearEmptiesTheTable) {
    ScratchFolder folder;
    const CString path =
        folder.Write("ItemTemplate.xml", "<Items><Item id=\"A\"/><Item id=\"B\"/></Items>");
    CItemTemplate table;
    ASSERT_TRUE(table.LoadItems(path));
    EXPECT_EQ(table.GetCount(), 2u);
    table.Clear();
    EXPECT_EQ(table.GetCount(), 0u);
    ReportRecorder reports;
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
