#include "SimOptions.h"

#include <algorithm>
#include <charconv>
#include <chrono>
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

// Seconds with an optional fraction ("2", "0.25") as milliseconds.
std::optional<std::chrono::milliseconds> Seconds(const std::string& text) {
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < 0 || value > 86400) {
        return std::nullopt;
    }
    return std::chrono::milliseconds(static_cast<long long>(value * 1000 + 0.5));
}

// "1000001,1000002": digits only, none empty.
std::optional<std::vector<std::u16string>> PidList(const std::string& text) {
    std::vector<std::u16string> pids;
    std::size_t from = 0;
    for (;;) {
        const std::size_t comma = std::min(text.find(',', from), text.size());
        const std::string pid = text.substr(from, comma - from);
        if (pid.empty() || pid.size() > 11 ||
            pid.find_first_not_of("0123456789") != std::string::npos) {
            return std::nullopt;
        }
        pids.push_back(Widen(pid));
        if (comma == text.size()) {
            return pids;
        }
        from = comma + 1;
    }
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
           "         [--series N | --series-pids PID,PID,...] [--swap SECONDS]\n"
           "         [--stay-versions N] [--dwell SECONDS] [--pull-out RADIO:FRAME]...\n"
           "         [--series-dir DIR]\n"
           "       qmvvlt-radiosim -h|--help | --version\n"
           "\n"
           "Series mode: radios swapped on the cable one after another, each a fresh radio from\n"
           "the start image with a PID of its own (the start PID counted up, or the PIDs of\n"
           "--series-pids in that order; a PID may repeat). Radio 1 is there from the start.\n"
           "A radio that acknowledged a FinishWrite goes on answering (a verify read) until the\n"
           "PC asks for its version for the (N+1)-th time since (--stay-versions, default 1):\n"
           "that request goes unanswered, the radio has been taken off. A radio that got no\n"
           "write frame leaves --dwell seconds after it came (default 0: never). --pull-out R:K\n"
           "takes radio R off at its K-th write frame (WriteSettings, WriteContact,\n"
           "WriteTextMessage, FinishWrite), keeping its old codeplug. The cable is then empty\n"
           "for --swap seconds (default 5, fractions allowed) before the next radio answers;\n"
           "after the last one it stays empty. With --series-dir each radio's image is saved\n"
           "there as <place>-<pid>.json when it leaves and, for the one on the cable, at exit.\n";
}

std::optional<SimOptions> SimOptions::Parse(const std::vector<std::string>& args,
                                            std::string& error) {
    SimOptions o;
    bool seriesOption = false;  // an option that means something only in a series
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
        } else if (a == "--series") {
            ok = number(o.series.count) && o.series.count > 0;
            if (!ok && error.empty()) {
                error = "--series needs a number of radios from 1";
            }
        } else if (a == "--series-pids") {
            const auto v = value();
            const auto pids = v ? PidList(*v) : std::nullopt;
            ok = pids.has_value();
            if (ok) {
                o.series.pids = *pids;
            } else if (error.empty()) {
                error = "--series-pids needs PIDs of digits separated by commas";
            }
        } else if (a == "--swap" || a == "--dwell") {
            seriesOption = true;
            const auto v = value();
            const auto ms = v ? Seconds(*v) : std::nullopt;
            ok = ms.has_value();
            if (ok) {
                (a == "--swap" ? o.series.swap : o.series.dwell) = *ms;
            } else if (error.empty()) {
                error = a + " needs a number of seconds";
            }
        } else if (a == "--stay-versions") {
            seriesOption = true;
            ok = number(o.series.stayVersions) && o.series.stayVersions >= 0;
            if (!ok && error.empty()) {
                error = "--stay-versions needs a number from 0";
            }
        } else if (a == "--pull-out") {
            seriesOption = true;
            const auto v = value();
            const std::size_t colon = v ? v->find(':') : std::string::npos;
            const auto radio =
                colon != std::string::npos ? Number(v->substr(0, colon)) : std::nullopt;
            const auto frame = radio ? Number(v->substr(colon + 1)) : std::nullopt;
            ok = frame && *radio > 0 && *frame > 0;
            if (ok) {
                o.series.pullOuts.push_back({*radio, *frame});
            } else if (error.empty()) {
                error = "--pull-out needs RADIO:FRAME, both from 1";
            }
        } else if (a == "--series-dir") {
            const auto v = value();
            ok = v.has_value();
            o.series.folder = v.value_or("");
        } else {
            error = "unknown option " + a;
            ok = false;
        }
        if (!ok) {
            return std::nullopt;
        }
    }
    if (!o.series.pids.empty()) {
        if (o.series.count != 0 && o.series.count != static_cast<int>(o.series.pids.size())) {
            error = "--series and --series-pids name different numbers of radios";
            return std::nullopt;
        }
        o.series.count = static_cast<int>(o.series.pids.size());
    }
    if (o.series.count == 0 && (seriesOption || !o.series.folder.empty())) {
        error = "the series options need --series or --series-pids";
        return std::nullopt;
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
