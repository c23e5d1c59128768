#include "TextInterner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "XMLTree.h"

namespace {

using TOOLS::CTextInterner;
using TOOLS::ScopedTextInterning;

TEST(TextInterner, IdenticalTextsShareOneBlock) {
    CTextInterner interner;
    const CString a = interner.Intern("钢管");
    const CString b = interner.Intern(std::string("钢管"));
    const CString other = interner.Intern("钢");
    EXPECT_EQ(a, CString(L"钢管"));
    EXPECT_EQ(a.GetString(), b.GetString());
    EXPECT_EQ(other, CString(L"钢"));
    EXPECT_NE(other.GetString(), a.GetString());
    EXPECT_TRUE(interner.Intern("").IsEmpty());
    // A long text is decoded each time rather than kept.
    const std::string long_text(300, 'x');
    EXPECT_EQ(interner.Intern(long_text), interner.Intern(long_text));
    EXPECT_NE(interner.Intern(long_text).GetString(), interner.Intern(long_text).GetString());
}

TEST(TextInterner, KeepsEveryTextAsTheTableGrows) {
    CTextInterner interner;
    std::vector<CString> first;
    for (int i = 0; i < 5000; ++i) first.push_back(interner.Intern("text " + std::to_string(i)));
    for (int i = 0; i < 5000; ++i) {
        const CString again = interner.Intern("text " + std::to_string(i));
        ASSERT_EQ(again.GetString(), first[i].GetString()) << i;
        ASSERT_EQ(TOOLS::Utf8FromWide(again), "text " + std::to_string(i));
    }
}

// A shared text is still a value: changing one copy leaves the others alone.
TEST(TextInterner, ChangingASharedTextCopiesIt) {
    CTextInterner interner;
    CString a = interner.Intern("Edit");
    const CString b = interner.Intern("Edit");
    a += L"Box";
    EXPECT_EQ(a, CString(L"EditBox"));
    EXPECT_EQ(b, CString(L"Edit"));
    EXPECT_EQ(interner.Intern("Edit"), CString(L"Edit"));
}

TEST(TextInterner, TreesShareTextsOnlyWhileAScopeLives) {
    testing_support::TempDir dir;
    const CString path =
        testing_support::TempDir::Wide(dir.Write("a.xml", "<r><c>Edit</c><c>Edit</c></r>"));
    const auto texts = [&path] {
        std::unique_ptr<TOOLS::IXMLTree> tree = TOOLS::CXMLTreeCreator::Allocate();
        EXPECT_TRUE(tree->LoadFile(path));
        EXPECT_TRUE(tree->FindElement(L"r"));
        std::vector<CString> found(2);
        tree->GetChildTextAt(0, found[0]);
        tree->GetChildTextAt(1, found[1]);
        return found;
    };
    EXPECT_EQ(CTextInterner::Current(), nullptr);
    const std::vector<CString> apart = texts();
    EXPECT_NE(apart[0].GetString(), apart[1].GetString());
    {
        const ScopedTextInterning outer;
        CTextInterner* const outerInterner = CTextInterner::Current();
        ASSERT_NE(outerInterner, nullptr);
        const std::vector<CString> shared = texts();
        EXPECT_EQ(shared[0], CString(L"Edit"));
        EXPECT_EQ(shared[0].GetString(), shared[1].GetString());
        {
            const ScopedTextInterning inner;
            EXPECT_NE(CTextInterner::Current(), outerInterner);
        }
        EXPECT_EQ(CTextInterner::Current(), outerInterner);
    }
    EXPECT_EQ(CTextInterner::Current(), nullptr);
}

}  // namespace
