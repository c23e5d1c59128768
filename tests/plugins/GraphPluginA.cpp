// Test plug-in "A": makes walls and beams; its slab factory makes nothing.
#include "TestGraphHandler.h"

namespace {

constexpr char kName[] = "A";
using namespace KADO::Product;

BASE::IGraphHandler* NoSlab() { return nullptr; }

}  // namespace

TEST_PLUGIN_EXPORT void GraphHandlerCreater(BASE::GraphHandlerTable& table) {
    table[Wall] = &testplugins::Handler<kName, Wall>::Create;
    table[Beam] = &testplugins::Handler<kName, Beam>::Create;
    table[Slab] = &NoSlab;
}
