#include <siteconfig/PropertyInsData.h>

#include <gtest/gtest.h>

#include <set>

#include "TestSupport.h"

namespace CONFIG {
namespace {

PropertyInsData Record(EKADOComponentType type, const wchar_t* category, const wchar_t* shape,
                       const wchar_t* name = L"") {
    PropertyInsData r;
    r.compType = type;
    r.category = category;
    r.sectionShape = shape;
    r.initName = name;
    return r;
}

PropertyInsData Tree() {
    PropertyInsData root = Record(KADO::Product::Wall, L"c", L"s", L"root");
    root.graphLibId = L"G";
    root.params.push_back({KADO::Product::Length, {L"2", L"1"}});
    PropertyInsData& child =
        root.children.emplace_back(Record(KADO::Product::Beam, L"", L"", L"child"));
    child.children.push_back(Record(KADO::Product::Slab, L"", L"", L"grandchild"));
    return root;
}

TEST(PropertyInsDataTest, DefaultRecordIsEmptyWithInvalidType) {
    PropertyInsData r;
    EXPECT_EQ(r.compType, KADO::Product::InvalidComponentType);
    EXPECT_TRUE(r.category.IsEmpty() && r.initName.IsEmpty() && r.sectionShape.IsEmpty() &&
                r.graphLibId.IsEmpty());
    EXPECT_TRUE(r.params.empty() && r.children.empty());
}

TEST(PropertyInsDataTest, OrderingUsesTypeCategoryAndShapeOnly) {
    struct Case {
        PropertyInsData a, b;
        bool less, greater;
    };
    const Case cases[] = {
        {Record(KADO::Product::Wall, L"c", L"s"), Record(KADO::Product::Wall, L"c", L"s"), false,
         false},
        {Record(KADO::Product::Wall, L"c", L"s", L"x"),
         Record(KADO::Product::Wall, L"c", L"s", L"y"), false, false},
        {Record(KADO::Product::Wall, L"z", L"z"), Record(KADO::Product::Beam, L"a", L"a"), true,
         false},
        {Record(KADO::Product::Wall, L"A", L"z"), Record(KADO::Product::Wall, L"a", L"a"), true,
         false},
        {Record(KADO::Product::Wall, L"a", L"S"), Record(KADO::Product::Wall, L"a", L"s"), true,
         false},
        // types compare as signed integers
        {Record(EKADOComponentType(-1), L"", L""), Record(KADO::Product::Wall, L"", L""), true,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        EXPECT_EQ(c.a < c.b, c.less);
        EXPECT_EQ(c.b < c.a, c.greater);
    }
    std::set<PropertyInsData> pool{Record(KADO::Product::Wall, L"c", L"s", L"first"),
                                   Record(KADO::Product::Wall, L"c", L"s", L"second")};
    ASSERT_EQ(pool.size(), 1u);
    EXPECT_EQ(pool.begin()->initName, CString(L"first"));
}

TEST(PropertyInsDataTest, CopiesAreDeepAndIndependent) {
    const PropertyInsData source = Tree();
    PropertyInsData copy(source);
    copy.children.front().children.front().initName = L"changed";
    copy.params.front().second.first = L"9";
    EXPECT_EQ(source.children.front().children.front().initName, CString(L"grandchild"));
    EXPECT_EQ(source.params.front().second.first, L"2");

    PropertyInsData assigned = Record(KADO::Product::Pipe, L"x", L"y");
    assigned.children.resize(5);
    assigned = source;
    EXPECT_EQ(assigned.children.size(), 1u);
    EXPECT_EQ(assigned.graphLibId, CString(L"G"));
    EXPECT_EQ(assigned.children.front().children.front().initName, CString(L"grandchild"));
}

TEST(PropertyInsDataTest, SelfAndDescendantAssignment) {
    PropertyInsData r = Tree();
    const PropertyInsData& self = r;
    r = self;
    EXPECT_EQ(r.children.size(), 1u);
    EXPECT_EQ(r.params.size(), 1u);

    r = r.children.front();  // from its own child
    EXPECT_EQ(r.initName, CString(L"child"));
    ASSERT_EQ(r.children.size(), 1u);
    EXPECT_EQ(r.children.front().initName, CString(L"grandchild"));

    PropertyInsData t = Tree();
    t = std::move(t.children.front());
    EXPECT_EQ(t.initName, CString(L"child"));
    EXPECT_EQ(t.children.size(), 1u);
}

TEST(PropertyInsDataTest, MoveTakesTheListsAndCopiesTheStrings) {
    PropertyInsData source = Tree();
    PropertyInsData moved(std::move(source));
    EXPECT_EQ(moved.children.size(), 1u);
    EXPECT_EQ(moved.params.size(), 1u);
    EXPECT_TRUE(source.children.empty());  // NOLINT(bugprone-use-after-move)
    EXPECT_TRUE(source.params.empty());
    EXPECT_EQ(source.initName, CString(L"root"));
    EXPECT_EQ(source.compType, KADO::Product::Wall);
}

}  // namespace
}  // namespace CONFIG
