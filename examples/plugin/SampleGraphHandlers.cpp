// A sample graph-handler plug-in: registers handlers for the structural components of the
// example configuration. It needs only the plug-in types of GraphHandler.h and does not link
// the configuration library; the host loads it and the registry calls its entry point.
#include <siteconfig/GraphHandler.h>

#if defined(_WIN32)
#define SAMPLE_PLUGIN_EXPORT extern "C" __declspec(dllexport)
#else
#define SAMPLE_PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {

using KADO::Product::EKADOComponentType;

// A handler that knows which component type it draws; a real one would also build geometry.
class SampleHandler : public BASE::IGraphHandler {
public:
    explicit SampleHandler(EKADOComponentType type) : type_(type) {}
    EKADOComponentType type() const { return type_; }

private:
    EKADOComponentType type_;
};

template <EKADOComponentType Type>
BASE::IGraphHandler* CreateHandler() {
    return new SampleHandler(Type);
}

}  // namespace

SAMPLE_PLUGIN_EXPORT void GraphHandlerCreater(BASE::GraphHandlerTable& table) {
    table[KADO::Product::Wall] = &CreateHandler<KADO::Product::Wall>;
    table[KADO::Product::Beam] = &CreateHandler<KADO::Product::Beam>;
    table[KADO::Product::Slab] = &CreateHandler<KADO::Product::Slab>;
    table[KADO::Product::Column] = &CreateHandler<KADO::Product::Column>;
    table[KADO::Product::TowerCrane] = &CreateHandler<KADO::Product::TowerCrane>;
    table[KADO::Product::Scaffold] = &CreateHandler<KADO::Product::Scaffold>;
}
