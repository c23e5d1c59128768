// Symbol visibility for the classes and functions an application uses.
#pragma once

#if defined(SITECONFIG_STATIC)
#define SITECONFIG_API
#elif defined(_WIN32)
#if defined(SITECONFIG_BUILDING)
#define SITECONFIG_API __declspec(dllexport)
#else
#define SITECONFIG_API __declspec(dllimport)
#endif
#else
#define SITECONFIG_API __attribute__((visibility("default")))
#endif
