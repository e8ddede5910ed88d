// SPDX-License-Identifier: GPL-3.0-or-later
// orvanectl lighting: the stored lighting of a device, changed as the lighting pages change
// it — the record's mode, brightness, speed, direction, seven-colour cycle and colour, and on
// the keyboard the paint layer, single painted keys and whole-layer fill and clear — then the
// selected lighting profile saved and the resulting record printed. Every value is checked
// before anything changes: a bad one is a one-line error, exit 2, and nothing is saved.

#include <iomanip>
#include <optional>
#include <ostream>
#include <sstream>
#include <vector>

#include "lighting/lighting_edits.h"
#include "profiles/profile_store.h"
#include "tools/tool_runtime.h"
#include "tools/cli.h"
#include "tools/profile_args.h"

namespace orvane::cli {

namespace {

using device::DeviceKind;
using device::Rgb;
using keyboard::KeyboardVariant;

struct Paint {
    int layer = 0;
    int position = 0;
    std::optional<Rgb> colour;  ///< none: erase
};

struct LightingEdit {
    std::optional<int> mode, brightness, speed, direction, seven, layer;
    std::optional<Rgb> colour;
    std::vector<Paint> paints;  ///< in the order given
    bool fill = false, clear = false;
    bool any() const {
        return mode || brightness || speed || direction || seven || layer || colour || !paints.empty() ||
               fill || clear;
    }
};

std::optional<Rgb> ParseColour(const std::string& text) {
    if (text.size() != 6) return std::nullopt;
    uint32_t v = 0;
    for (char c : text) {
        const int d = c >= '0' && c <= '9'   ? c - '0'
                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                      : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                             : -1;
        if (d < 0) return std::nullopt;
        v = v << 4 | uint32_t(d);
    }
    return Rgb{uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
}

std::string Hex(Rgb c) {
    std::ostringstream s;
    s << std::hex << std::uppercase << std::setfill('0') << std::setw(2) << int(c.r) << std::setw(2)
      << int(c.g) << std::setw(2) << int(c.b);
    return s.str();
}

/// The keyboard variant of the connected keyboard (the RGB one when none is there).
KeyboardVariant ConnectedVariant(hid::Backend& backend) {
    std::vector<hid::InterfaceInfo> interfaces;
    if (!backend.enumerate(interfaces)) return KeyboardVariant::Rgb;
    for (const auto& info : interfaces)
        if (const auto match = device::MatchInterface(info);
            match && device::RowOf(match->model).kind == DeviceKind::Keyboard)
            return keyboard::VariantOf(match->model);
    return KeyboardVariant::Rgb;
}

struct Limits {
    int modes, speed;
};
Limits LimitsOf(DeviceKind kind, KeyboardVariant v) {
    if (kind == DeviceKind::Keyboard) return {int(lighting::KeyboardModeCount(v)), lighting::kSlowestSpeed};
    if (kind == DeviceKind::Mouse) return {int(lighting::kMouseModeCount), lighting::kSlowestSpeed};
    return {int(lighting::kMouseModeCount), mousepad::kSlowestSpeed};  // the pad has ten modes too
}

/// Parses the options; an error text when one is bad.
std::string ParseEdit(const std::vector<std::string>& a, DeviceKind kind, const Limits& limits,
                      LightingEdit& e) {
    const bool keyboardOnly = kind == DeviceKind::Keyboard;
    for (size_t i = 0; i < a.size(); ++i) {
        const std::string& opt = a[i];
        if (opt == "--fill" || opt == "--clear") {
            if (!keyboardOnly) return opt + " paints the keyboard only";
            (opt == "--fill" ? e.fill : e.clear) = true;
            continue;
        }
        if (i + 1 >= a.size())
            return opt.rfind("--", 0) == 0 ? opt + " needs a value" : "unknown argument " + opt;
        const std::string& value = a[++i];
        auto number = [&](std::optional<int>& into, int limit) -> std::string {
            into = ParseNumber(value, limit);
            return into ? "" : opt + " takes 0-" + std::to_string(limit) + ", not " + value;
        };
        std::string error;
        if (opt == "--mode")
            error = number(e.mode, limits.modes - 1);
        else if (opt == "--brightness")
            error = number(e.brightness, lighting::kBrightnessSteps - 1);
        else if (opt == "--speed")
            error = number(e.speed, limits.speed);
        else if (opt == "--direction")
            error = number(e.direction, 1);
        else if (opt == "--seven")
            error = number(e.seven, 1);
        else if (opt == "--color" || opt == "--colour") {
            e.colour = ParseColour(value);
            if (!e.colour) error = opt + " takes RRGGBB (hexadecimal), not " + value;
        } else if (opt == "--layer") {
            if (!keyboardOnly) return "--layer is the keyboard's only";
            error = number(e.layer, int(keyboard::kColourLayerCount) - 1);
        } else if (opt == "--paint") {
            if (!keyboardOnly) return "--paint paints the keyboard only";
            // LAYER:POSITION:RRGGBB or LAYER:POSITION:off
            const auto first = value.find(':'),
                       second = value.find(':', first == std::string::npos ? first : first + 1);
            Paint p;
            bool ok = false;
            std::optional<int> layer, position;
            if (first != std::string::npos && second != std::string::npos) {
                layer = ParseNumber(value.substr(0, first), int(keyboard::kColourLayerCount) - 1);
                position = ParseNumber(value.substr(first + 1, second - first - 1),
                                       int(keyboard::kLedSlotCount) - 1);
                const std::string colour = value.substr(second + 1);
                if (colour != "off") p.colour = ParseColour(colour);
                if (layer && position && (colour == "off" || p.colour)) {
                    p.layer = *layer;
                    p.position = *position;
                    e.paints.push_back(p);
                    ok = true;
                }
            }
            if (!ok)
                error =
                    "--paint takes LAYER:POSITION:RRGGBB or LAYER:POSITION:off (layer 0-4, position 0-125), "
                    "not " +
                    value;
        } else {
            return "unknown option " + opt;
        }
        if (!error.empty()) return error;
    }
    if (e.fill && e.clear) return "--fill and --clear exclude each other";
    return {};
}

/// The record's bytes 1-8 (mode ... blue), the same layout on every device.
template <class Record>
void ApplyRecordEdit(Record& r, const LightingEdit& e, bool colourIsPaint) {
    if (e.mode) r.set(1, uint8_t(*e.mode));
    if (e.brightness) r.set(2, uint8_t(*e.brightness));
    if (e.speed) r.set(3, uint8_t(*e.speed));
    if (e.direction) r.set(4, uint8_t(*e.direction));
    if (e.seven) r.set(5, uint8_t(*e.seven));
    if (e.colour && !colourIsPaint) {
        r.setRgb(6, *e.colour);
        r.set(5, 0);  // a chosen colour ends the colour cycle
    }
}

std::string Describe(const uint8_t* b) {
    std::ostringstream s;
    s << "mode " << int(b[1]) << ", brightness " << int(b[2]) << ", speed " << int(b[3]) << ", direction "
      << int(b[4]) << ", seven " << int(b[5]) << ", colour " << Hex({b[6], b[7], b[8]});
    return s.str();
}

int RunLighting(Context& ctx, const std::vector<std::string>& args) {
    const auto parsed = SplitDataDir(args);
    if (!parsed.ok()) return ctx.badArgument(parsed.error);
    if (parsed.rest.empty()) return kExitUsage;
    const auto kind = ParseKind(parsed.rest[0]);
    if (!kind) return kExitUsage;
    const KeyboardVariant variant =
        *kind == DeviceKind::Keyboard ? ConnectedVariant(ctx.backend) : KeyboardVariant::Rgb;
    LightingEdit edit;
    const std::string error =
        ParseEdit({parsed.rest.begin() + 1, parsed.rest.end()}, *kind, LimitsOf(*kind, variant), edit);
    if (!error.empty()) return ctx.badArgument(error);
    // As on its page: the single-colour keyboard shows one fixed colour and takes no other.
    if (edit.colour && variant == KeyboardVariant::SingleColour)
        return ctx.badArgument("--color: the single-colour keyboard has one colour of its own");

    // The runtime's models and store: the edit goes through the device's session as a page's
    // does (in the program, the lighting worker shows it at once).
    ToolRuntime tool(ctx, parsed.dataFolder);
    runtime::Runtime& models = *tool;
    if (!tool.hosted())
        models.keyboard.model = variant == KeyboardVariant::Rgb ? device::DeviceModel::RgbKeyboard
                                                                : device::DeviceModel::MonoKeyboard;
    profiles::ProfileStore& store = models.store;
    if (!InitLists(ctx, store, *kind)) return kExitFailure;
    const profiles::ListId list = profiles::ListsOf(*kind).front();  // lighting first
    const int selected = store.recordedSelection(list);
    const std::string tag = std::string(device::KindTag(*kind)) + " lighting";
    // The program's model holds its selected lighting profile already.
    if (!tool.hosted() && store.loadProfile(list, selected) != profiles::ReadResult::Read)
        return ctx.fail(tag + ": the selected lighting profile " + std::to_string(selected) +
                        " could not be read");
    const runtime::Edit what = edit.mode ? runtime::kModeEdit : runtime::kLightingEdit;

    std::string line;
    if (*kind == DeviceKind::Keyboard) {
        bool paintRefused = false;
        std::optional<int> noLed;
        auto change = [&](keyboard::KeyboardData& d) {
            paintRefused = false;
            noLed.reset();
            const uint8_t mode = edit.mode ? uint8_t(*edit.mode) : d.lighting.mode();
            const bool custom = mode == lighting::CustomModeOf(variant);
            ApplyRecordEdit(d.lighting, edit, custom && variant == KeyboardVariant::Rgb);
            if (edit.colour && custom) d.paint.setRgb(keyboard::CustomPaintState::off::colour, *edit.colour);
            if (edit.layer) d.paint.set(keyboard::CustomPaintState::off::layer, uint8_t(*edit.layer));
            for (const Paint& paint : edit.paints) {
                // As on the page: the layer chosen, the colour chosen, then the key clicked.
                d.paint.set(keyboard::CustomPaintState::off::layer, uint8_t(paint.layer));
                if (paint.colour) d.paint.setRgb(keyboard::CustomPaintState::off::colour, *paint.colour);
                const auto tool = paint.colour ? lighting::PaintTool::Light : lighting::PaintTool::Erase;
                if (!custom)
                    paintRefused = true;
                else if (!lighting::PaintKey(d, variant, size_t(paint.position), tool))
                    noLed = paint.position;
            }
            if (edit.fill) lighting::FillLayer(d, variant);
            if (edit.clear) lighting::ClearLayer(d, variant);
        };
        // Tried on a copy first: a refused paint changes nothing, not even in the program.
        auto trial = models.keyboard.snapshot();
        change(trial);
        if (paintRefused)
            return ctx.badArgument("--paint needs the custom mode (" +
                                   std::to_string(lighting::CustomModeOf(variant)) +
                                   " on this keyboard); nothing saved");
        if (noLed)
            return ctx.badArgument("--paint: position " + std::to_string(*noLed) +
                                   " has no LED; nothing saved");
        if (edit.any()) models.keyboardSession().edit(what, change);
        const auto d = models.keyboard.snapshot();
        const size_t layer = lighting::PaintLayer(d);
        size_t lit = 0;
        for (size_t s = 0; s < keyboard::kLedSlotCount; ++s) {
            const Rgb c = d.colours.colourAt(layer, s);
            lit +=
                variant == KeyboardVariant::Rgb ? (c.r | c.g | c.b) != 0 : d.colours.levelAt(layer, s) != 0;
        }
        line = Describe(d.lighting.bytes.data()) + ", layer " + std::to_string(layer) + ", paint colour " +
               Hex(d.paint.colour()) + ", lit " + std::to_string(lit) +
               (variant == KeyboardVariant::Rgb ? "" : " (single-colour keyboard)");
    } else if (*kind == DeviceKind::Mouse) {
        if (edit.any())
            models.mouseSession().edit(what, [&](mouse::MouseData& d) { ApplyRecordEdit(d.state, edit, false); });
        line = Describe(models.mouse.state().bytes.data());
    } else {
        if (edit.any())
            models.padSession().edit(what, [&](mousepad::PadData& d) { ApplyRecordEdit(d.state, edit, false); });
        line = Describe(models.pad.state().bytes.data());
    }
    if (edit.any() && !models.session(*kind).saveNow(true))
        return ctx.fail(tag +
                        ": the selected lighting profile could not be saved: " + store.lastWriteProblem());
    // The page shows the new values (the edit itself was told as settingsEdited).
    ctx.announce([kind = *kind](runtime::AppEvents& events) { events.modelChanged.emit(kind); });
    ctx.out << tag << " (profile " << selected << "): " << line << '\n';
    return kExitOk;
}

}  // namespace

std::vector<Subcommand> LightingSubcommands() {
    return {
        {"lighting",
         "kb|ms|mp [--mode N] [--brightness B] [--speed S] [--direction D] [--seven 0|1] [--color RRGGBB] "
         "[--layer L] [--paint LAYER:POSITION:RRGGBB|off] [--fill|--clear] [--data-dir DIR]",
         "changes the stored lighting as the lighting pages do and prints the resulting record",
         &RunLighting}};
}

}  // namespace orvane::cli
