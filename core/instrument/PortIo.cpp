#include "core/instrument/PortIo.h"

#include <cstdlib>

#include "core/instrument/PpdevPortIo.h"
#include "core/instrument/VirtualCable.h"

namespace sondara {

std::string ResolvePortName(const std::string& port) {
    if (!port.empty()) return port;
    if (const char* env = std::getenv("SONDARA_PARPORT"); env && *env) return env;
    return kDefaultParport;
}

std::unique_ptr<PortIo> OpenPortIo(const std::string& portIn) {
    const std::string port = ResolvePortName(portIn);
    const std::string prefix = "virtual:";
    if (port.compare(0, prefix.size(), prefix) == 0) {
        std::string error;
        auto cable = VirtualCable::open(port.substr(prefix.size()), &error);
        if (!cable) return std::make_unique<NullPortIo>(port, error);
        return std::make_unique<VirtualPortIo>(std::move(cable), VirtualPortIo::Side::Pc,
                                               kVirtualAccessNs, port);
    }
    auto io = std::make_unique<PpdevPortIo>(port);
    if (!io->openError().empty()) return std::make_unique<NullPortIo>(port, io->openError());
    return io;
}

}  // namespace sondara
