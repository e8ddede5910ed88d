// SPDX-License-Identifier: GPL-3.0-or-later
// orvanectl list / info: which interfaces are there, and what the devices say about themselves.

#include <cstdio>
#include <iomanip>
#include <ostream>
#include <sstream>

#include "device/discovery.h"
#include "device/info_fields.h"
#include "device/protocol/commands.h"
#include "tools/cli.h"

namespace orvane::cli {

namespace {

std::string Hex4(uint16_t v) {
    char text[8];
    std::snprintf(text, sizeof text, "%04x", v);
    return text;
}

int RunList(Context& ctx, const std::vector<std::string>& args) {
    if (!args.empty()) return kExitUsage;
    std::vector<hid::InterfaceInfo> all;
    if (!ctx.backend.enumerate(all)) return ctx.fail("cannot enumerate HID interfaces");
    int ours = 0;
    for (const auto& info : all) {
        const auto match = device::MatchInterface(info);
        if (!match) continue;
        ++ours;
        const auto& id = device::Identity(match->model);
        ctx.out << id.shortName << '\t' << Hex4(info.vendorId) << ':' << Hex4(info.productId)
                << "\tversion " << Hex4(info.versionNumber) << "\tusage " << Hex4(info.usagePage) << ':'
                << Hex4(info.usage) << '\t'
                << (match->role == device::InterfaceRole::Configuration ? "configuration" : "notification")
                << '\t' << id.displayName << '\t' << info.path << '\n';
    }
    if (ours == 0) ctx.out << "no Orvane device found\n";
    return kExitOk;
}

int RunInfo(Context& ctx, const std::vector<std::string>& args) {
    NamedDevice named;
    if (const int rc = ConnectNamedDevice(ctx, args, named); rc != kExitOk) return rc;
    auto& connection = named.connection;
    const auto model = named.model;
    protocol::DeviceInfoBytes info{};
    const int32_t result = protocol::ReadDeviceInfo(*connection, info);
    if (result != protocol::kOk)
        return ctx.fail(args[0] + ": reading the information record failed: " + protocol::ResultText(result));
    std::ostringstream hex;
    for (size_t i = 0; i < info.size(); ++i) hex << (i ? " " : "") << std::hex << std::setw(2) << std::setfill('0') << int(info[i]);
    ctx.out << "device\t" << device::Identity(model).displayName << '\n';
    ctx.out << "record\t" << hex.str() << '\n';
    for (const auto& field : device::InfoFieldsOf(named.kind)) {
        const uint32_t value = device::ReadInfoField(info, field);
        ctx.out << field.name << '\t';
        if (field.hex) ctx.out << "0x" << Hex4(static_cast<uint16_t>(value));
        else ctx.out << value;
        ctx.out << '\n';
    }
    return kExitOk;
}

}  // namespace

std::vector<Subcommand> DeviceSubcommands() {
    return {
        {"list", "", "the HID interfaces of Orvane devices that are present", RunList},
        {"info", "kb|ms|mp", "the device's 31-byte information record and the fields read from it", RunInfo},
    };
}

}  // namespace orvane::cli
