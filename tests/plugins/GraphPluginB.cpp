// Test plug-in "B": makes walls (shared with "A") and columns, and registers fences without a
// factory.
#include "TestGraphHandler.h"

namespace {

constexpr char kName[] = "B";
using namespace KADO::Product;

}  // namespace

TEST_PLUGIN_EXPORT void GraphHandlerCreater(BASE::GraphHandlerTable& table) {
    table[Column] = &testplugins::Handler<kName, Column>::Create;
    table[Wall] = &testplugins::Handler<kName, Wall>::Create;
    table[Fence] = nullptr;
}
