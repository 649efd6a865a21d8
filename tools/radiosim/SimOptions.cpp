#include "SimOptions.h"

#include <charconv>
#include <fstream>
#include <iterator>

#include "CAppSettings.h"
#include "CDataAdaptor.h"
#include "CQMVVLTException.h"
#include "CVirtualCodeplugJson.h"
#include "CVirtualRadio.h"
#include "RadioProtocol.h"
#include "Utility.h"

namespace {

std::optional<int> Number(const std::string& text) {
    int value = 0;
    const int base = text.rfind("0x", 0) == 0 ? 16 : 10;
    const char* begin = text.data() + (base == 16 ? 2 : 0);
    const auto [end, ec] = std::from_chars(begin, text.data() + text.size(), value, base);
    if (ec != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::u16string Widen(const std::string& text) {
    return std::u16string(text.begin(), text.end());
}

}  // namespace

const char* SimOptions::Usage() {
    return "usage: qmvvlt-radiosim [--link PATH] [--image FILE.json | --profile FILE.lam]\n"
           "         [--password PW] [--pace]\n"
           "         [--modified-band] [--incompatible] [--old-firmware] [--unsupported-firmware]\n"
           "         [--capture-pid PID [--capture-polls N]] [--finish-delay MS] [--quiet]\n"
           "         [--noise N] [--wrong-lead N] [--bad-checksum N] (N replies, -1 all)\n"
           "         [--silence-after N] [--hangup-after N] (N frames)\n"
           "         [--silence-from N --silence-frames K] (frames N to N+K-1 unanswered)\n"
           "         [--stuck-list] (every list read answers record 1 of 255)\n"
           "         [--corrupt-contact N] (the Nth contact written keeps a wrong PID)\n"
           "         [--busy] [--reject-q REASON] [--reject-s STATUS] [--type-8c BYTE]\n"
           "         [--reject-opcode OPCODE] (the rejection for this opcode only)\n"
           "       qmvvlt-radiosim -h|--help | --version\n";
}

std::optional<SimOptions> SimOptions::Parse(const std::vector<std::string>& args,
                                            std::string& error) {
    SimOptions o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= args.size()) {
                error = a + " needs a value";
                return std::nullopt;
            }
            return args[++i];
        };
        auto number = [&](int& out) {
            const auto v = value();
            const auto n = v ? Number(*v) : std::nullopt;
            if (!n) {
                if (error.empty()) {
                    error = a + " needs a number";
                }
                return false;
            }
            out = *n;
            return true;
        };
        auto reject = [&](CSimFaults::Reject kind) {
            int v = 0;
            if (!number(v) || v < 0 || v > 255) {
                error = a + " needs a byte value";
                return false;
            }
            o.faults.reject = kind;
            o.faults.rejectValue = static_cast<std::uint8_t>(v);
            return true;
        };
        bool ok = true;
        if (a == "--link") {
            const auto v = value();
            ok = v.has_value();
            o.link = v.value_or("");
        } else if (a == "--image") {
            const auto v = value();
            ok = v.has_value();
            o.imagePath = v.value_or("");
        } else if (a == "--profile") {
            const auto v = value();
            ok = v.has_value();
            o.profilePath = v.value_or("");
        } else if (a == "--password") {
            const auto v = value();
            ok = v.has_value() && v->size() <= 4;
            if (ok) {
                o.password = Widen(*v);
            } else if (error.empty()) {
                error = "a password has at most 4 characters";
            }
        } else if (a == "--capture-pid") {
            const auto v = value();
            ok = v.has_value();
            o.capturePid = Widen(v.value_or(""));
        } else if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--version") {
            o.version = true;
        } else if (a == "--pace") {
            o.faults.pace = true;
        } else if (a == "--quiet") {
            o.quiet = true;
        } else if (a == "--modified-band") {
            o.modifiedBand = true;
        } else if (a == "--incompatible") {
            o.incompatible = true;
        } else if (a == "--old-firmware") {
            o.oldFirmware = true;
        } else if (a == "--unsupported-firmware") {
            o.unsupportedFirmware = true;
        } else if (a == "--capture-polls") {
            ok = number(o.capturePolls);
        } else if (a == "--finish-delay") {
            ok = number(o.finishDelayMs);
        } else if (a == "--noise") {
            ok = number(o.faults.noiseBytes);
        } else if (a == "--wrong-lead") {
            ok = number(o.faults.wrongLeadReplies);
        } else if (a == "--bad-checksum") {
            ok = number(o.faults.badChecksumReplies);
        } else if (a == "--silence-after") {
            ok = number(o.faults.silenceAfterFrames);
        } else if (a == "--hangup-after") {
            ok = number(o.faults.hangupAfterFrames);
        } else if (a == "--silence-from") {
            ok = number(o.faults.silentFromFrame);
        } else if (a == "--silence-frames") {
            ok = number(o.faults.silentFrames);
        } else if (a == "--corrupt-contact") {
            ok = number(o.faults.corruptContact);
        } else if (a == "--stuck-list") {
            o.faults.stuckList = true;
        } else if (a == "--busy") {
            o.faults.reject = CSimFaults::Reject::kQ;
            o.faults.rejectValue = 0xFE;
        } else if (a == "--reject-q") {
            ok = reject(CSimFaults::Reject::kQ);
        } else if (a == "--reject-s") {
            ok = reject(CSimFaults::Reject::kS);
        } else if (a == "--type-8c") {
            ok = reject(CSimFaults::Reject::kType8C);
        } else if (a == "--reject-opcode") {
            ok = number(o.faults.rejectOpcode);
        } else {
            error = "unknown option " + a;
            ok = false;
        }
        if (!ok) {
            return std::nullopt;
        }
    }
    if (o.oldFirmware) {
        o.faults.reject = CSimFaults::Reject::kType8C;
        o.faults.rejectValue = 0;
        o.faults.rejectOpcode = kOpGetVersion;
    }
    return o;
}

void SimOptions::Apply(CVirtualCodeplug& image) const {
    if (password) {
        image.settings.password = *password;
    }
    if (modifiedBand) {
        image.limits.model = u"Q411";
        image.limits.clone_compatibility_version = 15;
        image.limits.max_num_of_channels = 4;
    }
    if (incompatible) {
        image.limits.clone_compatibility_version = 20;
    }
    if (unsupportedFirmware) {
        image.version.firmware_phase = 'R';
        image.version.firmware_release = 94;
        image.version.firmware_version = 9;
    }
}

std::optional<CVirtualCodeplug> SimOptions::StartImage(std::string& error) const {
    CVirtualCodeplug image = CVirtualRadio::DefaultImage();
    if (!imagePath.empty()) {
        std::ifstream in(imagePath, std::ios::binary);
        if (!in) {
            error = "cannot open " + imagePath;
            return std::nullopt;
        }
        const std::string json((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
        auto loaded = CVirtualCodeplugJson::FromJson(json, &error);
        if (!loaded) {
            error = "cannot load " + imagePath + ": " + error;
            return std::nullopt;
        }
        image = std::move(*loaded);
    }
    if (!profilePath.empty()) {
        CVirtualCodeplug converted;
        try {
            // Through the data model, as a write converts it: older profiles get their group's
            // fields added before the conversion reads them.
            const CAppSettings settings = CAppSettings::Load();
            const std::filesystem::path install = Utility::GetInstallPath();
            CRadioDataModel model(settings.ModelEnvironment(install));
            model.LoadProfile(profilePath, true);
            CDataAdaptor::XML2VirtualCP(model.ProfileText(), converted, {});
            // As a write would: the radio's settings take the own contact's flags (manager
            // mode, see-all-groups), so a read-back gives them again.
            converted.SettingsFromOwnRecord();
        } catch (const CQMVVLTException& e) {
            error = "cannot load " + profilePath + ": " + e.Message();
            return std::nullopt;
        }
        image = std::move(converted);
    }
    Apply(image);
    return image;
}
