#pragma once

// One private freedesktop environment for all the tests of a program, made before any of them
// runs: GIO reads the environment once, at its first use.

#include "Freedesktop.h"
#include "TempTree.h"
#include "lookup/FindExe.h"
#include "lookup/Platform.h"

#include <gtest/gtest.h>

#include <functional>

inline TempTree* tree = nullptr;
inline Freedesktop* desktop = nullptr;

class FreedesktopEnvironment : public ::testing::Environment
{
public:
    // `extend` adds to the tree before any lookup reads it.
    explicit FreedesktopEnvironment(std::function<void(TempTree&)> extend = {})
        : extend_(std::move(extend))
    {}
    void SetUp() override
    {
        tree = new TempTree;
        desktop = new Freedesktop(*tree);
        if (extend_)
            extend_(*tree);
    }
    void TearDown() override
    {
        delete desktop;
        delete tree;
    }

private:
    std::function<void(TempTree&)> extend_;
};

inline std::string findExe(const std::string& extension)
{
    return qimlar::FindExe(extension, qimlar::nativePlatform());
}

inline qimlar::LookupResult lookUp(const std::string& extension)
{
    return qimlar::LookUpProgram(extension, qimlar::nativePlatform());
}
