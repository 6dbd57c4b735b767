#pragma once

#include "platform/PlatformServices.h"

#include <memory>

// The services of the desktop the program runs on.
class RealServices {
public:
    RealServices();
    ~RealServices();
    // True, after one line on standard error, when there is no display to show the
    // window on. Asked before the application object, which would abort for want of one.
    static bool noDisplay(int argc, char** argv);
    const PlatformServices& services() const { return m_services; }

private:
    struct Owned;
    std::unique_ptr<Owned> m_owned;
    PlatformServices m_services;
};
