#pragma once

#include "platform/PlatformServices.h"

#include <memory>

// The services of the desktop the program runs on.
class RealServices {
public:
    RealServices();
    ~RealServices();
    const PlatformServices& services() const { return m_services; }

private:
    struct Owned;
    std::unique_ptr<Owned> m_owned;
    PlatformServices m_services;
};
