#include "tools/mrfctl.h"

#include <filesystem>
#include <new>
#include <istream>
#include <ostream>

#include "core/engine/compile.h"
#include "core/engine/reference/entry_text.h"
#include "core/text/paths.h"
#include "core/store/encriptor.h"
#include "core/text/ansi.h"
#include "core/users/settings_units.h"

namespace mrf {
namespace {

constexpr const char* kUsage =
    "usage: mrfctl COMMAND FILE [ARGS]\n"
    "Inspects and prepares Marrowfold settings files (mrf.dat).\n"
    "\n"
    "  init FILE                   create FILE and its journal when missing and open both to every\n"
    "                              user (the installer's step); what FILE holds is kept\n"
    "  decode FILE                 print the settings lines, one per line, as stored\n"
    "  encode FILE                 write the lines read from standard input into FILE\n"
    "  get FILE NAME [DEFAULT]     print the value of NAME (exit 1 when absent and no DEFAULT)\n"
    "  set FILE NAME VALUE         set NAME to VALUE and save; an empty VALUE deletes NAME\n"
    "                              (and adds \"NAME=\" when NAME is absent)\n"
    "  list FILE PREFIX            print the lines that begin with PREFIX (letter case ignored)\n"
    "  rules FILE RULEKEY [--program-folder DIR] [--processes LIST]\n"
    "                              print the engine entries the rules of RULEKEY compile to, one per\n"
    "                              line: mode, path, exclude files, processes, exclude processes, tab-\n"
    "                              separated (control characters and % as %XX). DIR defaults to the\n"
    "                              folder of FILE, LIST to \"mrf.exe;ulksrv.exe\"\n"
    "  --help                      this text\n"
    "\n"
    "FILE must be a settings file: a file of other content is neither read nor overwritten unless\n"
    "--force is given (anywhere after COMMAND).\n"
    "Exit codes: 0 success, 1 file or setting fault, 2 bad arguments.\n";

struct Usage {
    std::string message;
};

class Tool {
public:
    Tool(std::istream& in, std::ostream& out, std::ostream& err, FileSystem& files)
        : in_(in), out_(out), err_(err), files_(files) {}

    int Run(const std::vector<std::string>& args) {
        try {
            return Dispatch(args);
        } catch (const Usage& u) {
            err_ << "mrfctl: " << u.message << " (see mrfctl --help)" << kEol;
            return 2;
        } catch (const StoreIoError& e) {
            err_ << "mrfctl: " << e.what() << kEol;
            return 1;
        } catch (const InvalidSettingError& e) {
            err_ << "mrfctl: " << e.what() << kEol;
            return 2;
        } catch (const ConversionError& e) {
            err_ << "mrfctl: " << e.what() << kEol;
            return 1;
        } catch (const std::bad_alloc&) {
            err_ << "mrfctl: out of memory" << kEol;
            return 1;
        } catch (const std::exception& e) {
            err_ << "mrfctl: " << e.what() << kEol;
            return 1;
        }
    }

private:
    int Dispatch(std::vector<std::string> args) {
        for (size_t i = 1; i < args.size();) {
            if (args[i] == "--force") {
                force_ = true;
                args.erase(args.begin() + static_cast<std::ptrdiff_t>(i));
            } else {
                ++i;
            }
        }
        if (args.empty())
            throw Usage{"no command given"};
        const std::string& cmd = args[0];
        if (cmd == "--help" || cmd == "-h" || cmd == "help") {
            out_ << kUsage;
            return 0;
        }
        if (cmd == "init")
            return Init(Arity(args, 2, 2));
        if (cmd == "decode")
            return Decode(Arity(args, 2, 2));
        if (cmd == "encode")
            return Encode(Arity(args, 2, 2));
        if (cmd == "get")
            return Get(Arity(args, 3, 4));
        if (cmd == "set")
            return Set(Arity(args, 4, 4));
        if (cmd == "list")
            return List(Arity(args, 3, 3));
        if (cmd == "rules")
            return Rules(Arity(args, 3, 7));
        throw Usage{"unknown command '" + cmd + "'"};
    }

    static const std::vector<std::string>& Arity(const std::vector<std::string>& args, size_t min,
                                                 size_t max) {
        if (args.size() < min)
            throw Usage{args[0] + ": missing arguments"};
        if (args.size() > max)
            throw Usage{args[0] + ": too many arguments"};
        return args;
    }

    // Opens an existing settings file; inspecting a file never creates one.
    bool RequireFile(const std::string& path) {
        if (files_.FileExists(path))
            return RequireSettings(path);
        err_ << "mrfctl: cannot open \"" << path << "\": no such file" << kEol;
        return false;
    }

    // A file of other content is not taken for settings: reading it would show noise, and a save
    // would replace it for good.
    bool RequireSettings(const std::string& path) {
        if (force_ || !files_.FileExists(path) || IsSettingsFile(files_, path))
            return true;
        err_ << "mrfctl: \"" << path << "\" is not a settings file (--force to use it anyway)" << kEol;
        return false;
    }

    TEncriptor Open(const std::string& path) { return TEncriptor(path, files_, SettingsUnitOf); }

    // Every user's programs save the settings, and an ordinary user may not create the journal in
    // the program folder: both must exist and be open to everyone before anyone logs on.
    int Init(const std::vector<std::string>& args) {
        if (!RequireSettings(args[1]))
            return 1;
        TEncriptor store = Open(args[1]);
        const std::string canonical = files_.CanonicalPath(args[1]);
        const std::string journal = JournalPath(canonical);
        if (!files_.FileExists(journal)) {
            err_ << "mrfctl: the journal \"" << journal << "\" could not be created" << kEol;
            return 1;
        }
        for (const std::string& path : {canonical, journal}) {
            if (!files_.GrantEveryoneAccess(path)) {
                err_ << "mrfctl: \"" << path << "\" could not be opened to every user" << kEol;
                return 1;
            }
        }
        return 0;
    }

    int Decode(const std::vector<std::string>& args) {
        if (!RequireFile(args[1]))
            return 1;
        TEncriptor store = Open(args[1]);
        for (const auto& line : store.Lines())
            out_ << line << kEol;
        return 0;
    }

    int Encode(const std::vector<std::string>& args) {
        if (!RequireSettings(args[1]))
            return 1;
        std::vector<std::string> lines;
        std::string line;
        while (std::getline(in_, line)) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            lines.push_back(line);
        }
        TEncriptor store = Open(args[1]);
        store.ReplaceLines(lines);
        store.SaveIfModified(true);
        return 0;
    }

    int Get(const std::vector<std::string>& args) {
        if (!RequireFile(args[1]))
            return 1;
        TEncriptor store = Open(args[1]);
        if (!store.KeyExists(args[2]) && args.size() < 4)
            return 1;
        out_ << store.ReadString(args[2], args.size() > 3 ? args[3] : std::string()) << kEol;
        return 0;
    }

    int Set(const std::vector<std::string>& args) {
        if (!RequireFile(args[1]))
            return 1;
        TEncriptor store = Open(args[1]);
        store.WriteString(args[2], args[3]);
        store.SaveIfModified(false);
        return 0;
    }

    int List(const std::vector<std::string>& args) {
        if (!RequireFile(args[1]))
            return 1;
        TEncriptor store = Open(args[1]);
        for (const auto& line : store.Lines())
            if (AnsiStartsText(line, args[2]))
                out_ << line << kEol;
        return 0;
    }

    int Rules(const std::vector<std::string>& args) {
        CompileInput input{args[2], DefaultProcessList("mrf.exe"), FolderOf(args[1])};
        for (size_t i = 3; i < args.size(); i += 2) {
            if (i + 1 >= args.size())
                throw Usage{"rules: " + args[i] + " needs a value"};
            if (args[i] == "--program-folder")
                input.programFolder = WithFinalSeparator(args[i + 1]);
            else if (args[i] == "--processes")
                input.defaultProcesses = args[i + 1];
            else
                throw Usage{"rules: unknown option '" + args[i] + "'"};
        }
        if (!RequireFile(args[1]))
            return 1;
        TEncriptor store = Open(args[1]);
        for (const EngineEntry& entry : CompileRules(store, input))
            out_ << FormatEntry(entry) << kEol;
        return 0;
    }

    // The folder of the file as the program would see its own: absolute, with its final separator.
    static std::string FolderOf(const std::string& file) {
        std::error_code ec;
        const std::filesystem::path full = std::filesystem::absolute(file, ec);
        return mrf::FolderOf(ec ? file : full.string());
    }

    static std::string WithFinalSeparator(const std::string& folder) {
        if (folder.empty() || folder.back() == '\\' || folder.back() == '/')
            return folder;
        return folder + (folder.find('\\') != std::string::npos ? "\\" : "/");
    }

    std::istream& in_;
    std::ostream& out_;
    std::ostream& err_;
    FileSystem& files_;
    bool force_ = false;
};

} // namespace

int RunMrfctl(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err,
              FileSystem& files) {
    return Tool(in, out, err, files).Run(args);
}

} // namespace mrf
