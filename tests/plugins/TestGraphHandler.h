// The handlers that the test plug-ins make: each says which library made it and for which type,
// so that a test can tell whose factory the registry called.
#pragma once

#include <siteconfig/GraphHandler.h>
#include <siteconfig/KadoTypes.h>

#if defined(_WIN32)
#define TEST_PLUGIN_EXPORT extern "C" __declspec(dllexport)
#else
#define TEST_PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace testplugins {

class TestGraphHandler : public BASE::IGraphHandler {
public:
    // "A", "B", ...: the plug-in that made the handler.
    virtual const char* Library() const = 0;
    virtual KADO::Product::EKADOComponentType Type() const = 0;
};

// A handler of library `Name` for `type`; one factory per instantiation.
template <const char* Name, KADO::Product::EKADOComponentType type>
class Handler final : public TestGraphHandler {
public:
    const char* Library() const override { return Name; }
    KADO::Product::EKADOComponentType Type() const override { return type; }

    static BASE::IGraphHandler* Create() { return new Handler; }
};

}  // namespace testplugins
