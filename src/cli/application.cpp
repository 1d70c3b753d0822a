#include "cli/application.h"

#include <QCommandLineParser>
#include <QStringList>
#include <string>

#include "cli/command.h"
#include "cli/commands/command_list.h"
#include "cli/error_messages.h"
#include "cli/exit_codes.h"
#include "cli/help_text.h"
#include "cli/session.h"
#include "core/qsettings_profile_store.h"
#include "languages/languages.h"
#include "platform/program_folder.h"
#include "settings/settings_interface.h"
#include "settings/settings_run_time.h"

namespace cli {
namespace {

std::u16string FromQString(const QString& text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                        static_cast<std::size_t>(text.size()));
}

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void Print(int fd, const std::string& text) {
  OutputStream out(fd);
  out.Write(text);
}

// The desktop program's settings store, and the language it shows (English when that one is
// not found); without language files the libraries' own English texts stand in.
class Environment {
 public:
  Environment() : previous_store_(platform::InstallProfile(&store_)) {
    CKSettingsRunTime run_time;  // only for the interface group's constructor; not loaded
    CKSettingsInterface interface_settings(run_time);
    interface_settings.Load();
    if (languages_.ScanFolder(platform::ProgramFolder()) &&
        !languages_.Activate(interface_settings.m_csLanguage)) {
      languages_.Activate(u"English");
    }
  }
  ~Environment() { platform::InstallProfile(previous_store_); }
  Environment(const Environment&) = delete;
  Environment& operator=(const Environment&) = delete;

 private:
  ErrorMessages messages_;
  QSettingsProfileStore store_;
  platform::ProfileStore* previous_store_;
  CKLanguages languages_;
};

struct GlobalParse {
  GlobalOptions options;
  bool help = false;
  bool version = false;
  int error = kExitOk;
  qsizetype command_index = -1;
};

// The global options in front of the command, and where the command stands.
GlobalParse ParseGlobals(const QStringList& args) {
  GlobalParse parse;
  qsizetype i = 0;
  for (; i < args.size() && args[i].startsWith(u'-') && args[i] != QStringLiteral("-"); ++i) {
    const QString& arg = args[i];
    if (arg == QStringLiteral("--")) {
      ++i;
      break;
    }
    if (arg == QStringLiteral("--data")) {
      if (i + 1 == args.size()) {
        ReportError("--data needs a folder");
        parse.error = kExitUsage;
        return parse;
      }
      parse.options.data_folder = FromQString(args[++i]);
    } else if (arg.startsWith(QStringLiteral("--data="))) {
      parse.options.data_folder = FromQString(arg.mid(7));
    } else if (arg == QStringLiteral("--password-stdin")) {
      parse.options.password_stdin = true;
    } else if (arg == QStringLiteral("--help") || arg == QStringLiteral("-h")) {
      parse.help = true;
    } else if (arg == QStringLiteral("--version")) {
      parse.version = true;
    } else {
      ReportError(u"unknown option \"" + FromQString(arg) + u"\"; see \"vaultquill-cli --help\"");
      parse.error = kExitUsage;
      return parse;
    }
  }
  if (i < args.size()) {
    parse.command_index = i;
  }
  return parse;
}

Command* FindCommand(const CommandList& commands, const QString& name) {
  for (const auto& command : commands) {
    if (name == ToQString(command->Info().name)) {
      return command.get();
    }
  }
  return nullptr;
}

// The command's own arguments and options, with the global options allowed among them.
int ParseCommandLine(const Command& command, const QStringList& args, GlobalOptions& options,
                     Invocation& call, bool& help) {
  QCommandLineParser parser;
  const QCommandLineOption data_option(QStringLiteral("data"), QString(), QStringLiteral("DIR"));
  const QCommandLineOption stdin_option(QStringLiteral("password-stdin"));
  const QCommandLineOption help_option(QStringList{QStringLiteral("h"), QStringLiteral("help")});
  parser.addOption(data_option);
  parser.addOption(stdin_option);
  parser.addOption(help_option);
  for (const OptionInfo& option : command.Options()) {
    parser.addOption(
        QCommandLineOption(ToQString(option.name), QString(), ToQString(option.value_name)));
  }
  if (!parser.parse(QStringList{QStringLiteral("vaultquill-cli")} + args)) {
    ReportError(FromQString(parser.errorText()));
    ReportError(UsageLine(command));
    return kExitUsage;
  }
  if (parser.isSet(help_option)) {
    help = true;
    return kExitOk;
  }
  if (parser.isSet(data_option)) {
    options.data_folder = FromQString(parser.value(data_option));
  }
  options.password_stdin = options.password_stdin || parser.isSet(stdin_option);
  for (const OptionInfo& option : command.Options()) {
    const QString name = ToQString(option.name);
    if (!parser.isSet(name)) {
      continue;
    }
    if (option.value_name.empty()) {
      call.SetFlag(option.name);
    } else {
      call.SetValue(option.name, FromQString(parser.value(name)));
    }
  }
  const QStringList positional = parser.positionalArguments();
  const auto count = static_cast<std::size_t>(positional.size());
  if (count < command.Info().min_arguments || count > command.Info().max_arguments) {
    ReportError(count < command.Info().min_arguments ? "too few arguments" : "too many arguments");
    ReportError(UsageLine(command));
    return kExitUsage;
  }
  for (const QString& argument : positional) {
    call.AddArgument(FromQString(argument));
  }
  return kExitOk;
}

}  // namespace

int RunApplication(int argc, char** argv) {
  QStringList args;
  for (int i = 1; i < argc; ++i) {
    args.append(QString::fromLocal8Bit(argv[i]));
  }
  const CommandList commands = AllCommands();
  GlobalParse globals = ParseGlobals(args);
  if (globals.error != kExitOk) {
    return globals.error;
  }
  if (globals.version) {
    Print(1, "vaultquill-cli " VQ_CLI_VERSION "\n");
    return kExitOk;
  }
  if (globals.command_index < 0) {
    Print(globals.help ? 1 : 2, GeneralHelp(commands));
    return globals.help ? kExitOk : kExitUsage;
  }
  const QString name = args[globals.command_index];
  Command* command = FindCommand(commands, name);
  if (command == nullptr) {
    ReportError(u"unknown command \"" + FromQString(name) + u"\"; see \"vaultquill-cli --help\"");
    return kExitUsage;
  }
  if (globals.help) {
    Print(1, CommandHelp(*command));
    return kExitOk;
  }
  Environment environment;
  Invocation call;
  bool help = false;
  if (const int result = ParseCommandLine(*command, args.mid(globals.command_index + 1),
                                          globals.options, call, help);
      result != kExitOk || help) {
    if (help) {
      Print(1, CommandHelp(*command));
    }
    return result;
  }
  int result = kExitOk;
  {
    Session session(globals.options);
    result = command->Run(session, call);
    if (!session.Out().Flush() && result == kExitOk) {
      ReportError("standard output cannot be written");
      result = kExitWriteFailed;
    }
  }
  return result;
}

}  // namespace cli
