// The XML Schemas written from the file formats: one well-formed schema per kind, declaring the
// names the readers take from their name tables. (The command's tests validate the example
// folder against them.)
#include "XmlSchema.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include <siteconfig/SiteConfigNames.h>
#include <siteconfig/SiteConfigSchemas.h>
#include <pugixml.hpp>

namespace CONFIG {
namespace {

std::set<std::string> Utf8Names(const std::vector<NamedValue>& names) {
    std::set<std::string> out;
    for (const NamedValue& entry : names) out.insert(TOOLS::Utf8FromWide(entry.name));
    return out;
}

// The values of `attribute` of the nodes `xpath` selects below `from`.
std::set<std::string> Selected(const pugi::xml_node& from, const char* xpath,
                               const char* attribute = "name") {
    std::set<std::string> out;
    for (const pugi::xpath_node& node : from.select_nodes(xpath)) {
        out.insert(node.node().attribute(attribute).value());
    }
    return out;
}

pugi::xml_document Parsed(const std::string& kind) {
    std::string xsd;
    EXPECT_TRUE(GetSchema(kind, xsd)) << kind;
    pugi::xml_document doc;
    const pugi::xml_parse_result parsed = doc.load_string(xsd.c_str());
    EXPECT_TRUE(parsed) << kind << ": " << parsed.description() << " at " << parsed.offset;
    return doc;
}

TEST(XmlSchemaTest, EveryKindHasAWellFormedSchemaOfItsRoot) {
    const std::vector<SchemaKind> kinds = GetSchemaKinds();
    ASSERT_FALSE(kinds.empty());
    std::set<std::string> names;
    std::set<std::string> roots;
    for (const SchemaKind& kind : kinds) {
        SCOPED_TRACE(kind.name);
        EXPECT_TRUE(names.insert(kind.name).second) << "named twice";
        EXPECT_TRUE(roots.insert(kind.root).second) << "a root of two kinds";
        EXPECT_EQ(kind.name.find_first_not_of("abcdefghijklmnopqrstuvwxyz-"), std::string::npos);
        EXPECT_EQ(kind.fileName, kind.name + ".xsd");
        EXPECT_FALSE(kind.appliesTo.empty());

        const pugi::xml_document doc = Parsed(kind.name);
        const pugi::xml_node schema = doc.document_element();
        EXPECT_STREQ(schema.name(), "xs:schema");
        // The root is the one element a file may begin with.
        EXPECT_EQ(Selected(schema, "xs:element"), std::set<std::string>{kind.root});
    }
}

TEST(XmlSchemaTest, AnUnknownKindLeavesTheTextAlone) {
    for (const char* name : {"", "Property", "edit_view", "property.xsd", "plugins"}) {
        SCOPED_TRACE(name);
        std::string xsd = "before";
        EXPECT_FALSE(GetSchema(name, xsd));
        EXPECT_EQ(xsd, "before");
    }
}

TEST(XmlSchemaTest, DeclaresTheNamesOfTheLibrarysNameTables) {
    // An instance's attributes are its two names and every parameter name, aliases included.
    const pugi::xml_document property = Parsed("property");
    std::set<std::string> instanceAttributes = Utf8Names(GetParameterTypeNames());
    instanceAttributes.insert({"clsname", "insname"});
    const pugi::xpath_node instance =
        property.select_node("//xs:element[@name='Ins']//xs:element[@name='Property']");
    ASSERT_TRUE(instance);
    const std::string type = instance.node().attribute("type").value();
    ASSERT_FALSE(type.empty()) << "instances nest: their type is named";
    const pugi::xml_node instanceType =
        property.document_element().find_child_by_attribute("xs:complexType", "name", type.c_str());
    ASSERT_TRUE(instanceType);
    EXPECT_EQ(Selected(instanceType, "xs:attribute"), instanceAttributes);

    // Mark classes are tagged with view modes, item groups with part kinds.
    const pugi::xml_document editView = Parsed("edit-view");
    EXPECT_EQ(Selected(editView, "//xs:element[@name='MarkShow']/xs:complexType/*/xs:element"),
              Utf8Names(GetViewModeNames()));
    EXPECT_EQ(Selected(editView, "//xs:element[@name='GridShow']/xs:complexType/*/xs:element"),
              Utf8Names(GetPartKindNames()));
}

TEST(XmlSchemaTest, LeavesUncheckedWhatTagsCannotName) {
    struct Case {
        const char* kind;
        const char* parent;  // whose children are any elements, unchecked
    };
    const Case cases[] = {
        {"resource", "Config"},         // each child is a setting named by its tag
        {"item-template", "Assemble"},  // states are tagged with the group's type
        {"edit-view", "Assemble"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.kind) + " " + c.parent);
        const pugi::xml_document doc = Parsed(c.kind);
        const std::string xpath =
            std::string("//xs:element[@name='") + c.parent + "']/xs:complexType";
        const pugi::xpath_node_set types = doc.select_nodes(xpath.c_str());
        ASSERT_FALSE(types.empty());
        for (const pugi::xpath_node& node : types) {
            EXPECT_TRUE(node.node().select_node("xs:sequence/xs:any[@processContents='skip']"));
            EXPECT_FALSE(node.node().select_node(".//xs:element"));
        }
    }
}

}  // namespace
}  // namespace CONFIG
