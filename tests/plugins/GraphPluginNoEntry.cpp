// Test plug-in without "GraphHandlerCreater": a library that exports something else.
#include "TestGraphHandler.h"

namespace {

constexpr char kName[] = "NoEntry";
using namespace KADO::Product;

}  // namespace

TEST_PLUGIN_EXPORT void GraphHandlerCreator(BASE::GraphHandlerTable& table) {
    table[Road] = &testplugins::Handler<kName, Road>::Create;
}
