// SPDX-License-Identifier: GPL-3.0-or-later
#include "CliCommands.h"

#include "CliContext.h"
#include "CliPrompt.h"
#include "CollectionCommands.h"
#include "DocumentCommands.h"
#include "HistoryCommands.h"
#include "Licence.h"
#include "MoveCommand.h"
#include "MendCommands.h"
#include "ProgramState.h"
#include "ScriptedPrompt.h"
#include "SetCommand.h"
#include "StateCommands.h"
#include "modConvert.h"

#include <QCommandLineParser>
#include <QTextStream>
#include <exception>

namespace
{

struct Command {
    const char* name;
    QStringList arguments; // names of the positional arguments, all required
    QStringList options;   // options of this command besides the global ones
    int (*run)(const CliContext&);
    bool moreFiles = false; // further positional arguments allowed (history FILE...)
};

const QList<Command>& Commands()
{
    static const QList<Command> commands = {
        {"resources", {QStringLiteral("FILE")}, {}, CmdResources},
        {"formats", {QStringLiteral("FILE")}, {}, CmdFormats},
        {"objects", {QStringLiteral("FILE")}, {}, CmdObjects},
        {"resave",
         {QStringLiteral("FILE")},
         {QStringLiteral("output"), QStringLiteral("force")},
         CmdResave},
        {"set",
         {},
         {QStringLiteral("object"), QStringLiteral("name"), QStringLiteral("description"),
          QStringLiteral("price"), QStringLiteral("disabled"), QStringLiteral("sorts"),
          QStringLiteral("preset"), QStringLiteral("only-language"), QStringLiteral("force"),
          QStringLiteral("match"), QStringLiteral("price-change"), QStringLiteral("sort"),
          QStringLiteral("hide"), QStringLiteral("show"), QStringLiteral("dry-run")},
         CmdSet,
         true},
        {"move",
         {},
         {QStringLiteral("to"), QStringLiteral("keep-both"), QStringLiteral("dry-run")},
         CmdMove,
         true},
        {"strings", {QStringLiteral("FILE")}, {QStringLiteral("object")}, CmdStrings},
        {"history",
         {},
         {QStringLiteral("csv"), QStringLiteral("forget"), QStringLiteral("older-than")},
         CmdHistory,
         true},
        {"restore",
         {QStringLiteral("FILE")},
         {QStringLiteral("change"), QStringLiteral("original"), QStringLiteral("force")},
         CmdRestore},
        {"files", {}, {}, CmdFiles},
        {"catalog", {}, {QStringLiteral("csv")}, CmdCatalog},
        {"conflicts", {}, {QStringLiteral("userdata")}, CmdConflicts},
        {"lots", {}, {QStringLiteral("userdata")}, CmdLots},
        {"new-guid",
         {QStringLiteral("FILE")},
         {QStringLiteral("object"), QStringLiteral("guid"), QStringLiteral("dry-run"),
          QStringLiteral("userdata")},
         CmdNewGuid},
        {"dedupe", {}, {QStringLiteral("dry-run"), QStringLiteral("userdata")}, CmdDedupe},
        {"check", {}, {}, CmdCheck},
        {"presets", {}, {}, CmdPresets},
        {"make-demo", {QStringLiteral("DIR")}, {}, CmdMakeDemo},
        {"game-folder", {}, {}, CmdGameFolder}, // for ./run; not in the help text
    };
    return commands;
}

const QStringList kGlobalOptions = {QStringLiteral("data-dir"), QStringLiteral("game-dir"),
                                    QStringLiteral("language")};

QString HelpText()
{
    return QStringLiteral(
        "Usage: kestrane-cli [--data-dir DIR] [--game-dir DIR] [--language LANGUAGE] COMMAND\n"
        "       [ARGUMENTS]\n"
        "\n"
        "Reads and edits the catalog data of The Sims' object files (.iff).\n"
        "\n"
        "Commands:\n"
        "  resources FILE        every resource: type, ID, name, body size (tab-separated)\n"
        "  formats FILE          the resource types of the file with their counts\n"
        "  objects FILE          the file's objects and their catalog data as JSON\n"
        "  strings FILE --object ID\n"
        "                        the object's catalog name and description in every\n"
        "                        language of the file, as JSON\n"
        "  resave FILE [--output OUT] [--force]\n"
        "                        load FILE and save it again (to OUT when given)\n"
        "  set FILE... [--object ID] [--name TEXT] [--description TEXT] [--price N]\n"
        "      [--price-change PERCENT] [--disabled yes|no] [--hide] [--show]\n"
        "      [--sorts A,B,C,D,E,F,G,H,I] [--preset NAME] [--sort \"GROUP=+FLAG,-FLAG\"]\n"
        "      [--only-language] [--force] [--dry-run]\n"
        "  set --match WORDS [FILE...] [...]\n"
        "                        change what is given of every listed object of the files\n"
        "                        (or the one --object names; --match: the objects of the\n"
        "                        listed folders that Find Object shows for WORDS) and save\n"
        "                        each file; prints the changes as JSON, each object as\n"
        "                        {\"file\", \"id\", \"changes\": {field: [old, new]}}, and\n"
        "                        with --dry-run only prints them; --price-change takes a\n"
        "                        percentage (negative to lower), rounded halves up, and a\n"
        "                        result outside 0 to 65535 leaves that file as it was;\n"
        "                        --sort marks flags with the window's captions, case-blind\n"
        "                        (\"Function=+Seating,-Surfaces\", \"Build Mode=Doors\");\n"
        "                        sorts, each 0 to 65535: Function, Sub-Function, Room,\n"
        "                        Downtown, Vacation, Community, Studio Town, Magic Town,\n"
        "                        Build Mode; a new name or description also replaces the\n"
        "                        other languages' copies of the old one, unless\n"
        "                        --only-language is given\n"
        "                        (resave and set refuse a damaged file, whose unreadable\n"
        "                        part a save drops, unless given --force)\n"
        "  move FILE... --to DIR [--keep-both] [--dry-run]\n"
        "                        move the files into DIR; a name DIR already holds is\n"
        "                        skipped, or with --keep-both given a free name; restore\n"
        "                        moves a file back\n"
        "  history [FILE...] [--csv]\n"
        "                        the kept changes to object files (of FILE...), newest\n"
        "                        first, as JSON (or CSV)\n"
        "  history --forget [--older-than DAYS]\n"
        "                        forget the kept changes (those older than DAYS days)\n"
        "  restore FILE [--change ID | --original] [--force]\n"
        "                        put FILE back as it was before its latest change, before\n"
        "                        change ID, or before Kestrane first changed it; a file\n"
        "                        changed by another program since needs --force\n"
        "  files                 the object files Kestrane lists, one path a line\n"
        "  catalog [--csv]       every object of those files with its file and GUID, as\n"
        "                        JSON (or CSV for spreadsheets)\n"
        "  conflicts             GUIDs that two or more objects share, the game's archives\n"
        "                        included, as JSON\n"
        "  lots                  the lots of the neighbourhoods the game plays, with the\n"
        "                        GUIDs of the objects placed on each, as JSON\n"
        "  new-guid FILE --object ID [--guid 0x...] [--dry-run]\n"
        "                        give the object and every tile of it new GUIDs, random\n"
        "                        ones unused anywhere (or the one given, for the object)\n"
        "  dedupe [--dry-run]    keep one of each set of identical copies (the shallowest,\n"
        "                        then the first by name) and move the others to the trash\n"
        "                        (conflicts, lots, new-guid and dedupe take --userdata DIR\n"
        "                        to read the lots of one more neighbourhood folder)\n"
        "  check                 the damaged, unreadable and non-object files: path, tab,\n"
        "                        reason (exit status 1 when there is any)\n"
        "  presets               the stored sort presets: name, tab, nine values\n"
        "  make-demo DIR         write a demo Wine prefix with a small game installation\n"
        "                        (start Kestrane with WINEPREFIX=DIR to use it)\n"
        "\n"
        "Options:\n"
        "  --data-dir DIR        where presets.dat, folders.dat and the history are\n"
        "  --game-dir DIR        use this game folder instead of looking it up\n"
        "  --language LANGUAGE   show and edit the catalog text of this language (a code\n"
        "                        from 1 to 20 or a name such as \"UK English\") instead of\n"
        "                        the game's own; without it, US English when the game's\n"
        "                        registry names none\n"
        "  -h, --help            show this text\n"
        "  --version             show the version and the licence\n"
        "\n"
        "\n"
        "Data files: presets.dat and folders.dat, the window's presets and folder list, are\n"
        "read from the per-user data folder, $XDG_DATA_HOME/Kestrane (normally\n"
        "~/.local/share/Kestrane). When the program's own folder already holds either file,\n"
        "that folder is read instead (portable use). --data-dir overrides both.\n"
        "\n"
        "History: before a file is changed (set, resave in place, restore, new-guid,\n"
        "dedupe, and the window's saves, repairs and Delete File), the bytes it held are\n"
        "kept in the history/ folder of the data folder, so that restore can put them\n"
        "back.\n"
        "\n"
        "Exit status: 0 done, 1 the work could not be done (set and move: any file failed;\n"
        "the others are still done), 2 wrong command line.\n");
}

void AddOptions(QCommandLineParser& parser)
{
    parser.addOption({{QStringLiteral("h"), QStringLiteral("help")}, QString()});
    parser.addOption({QStringLiteral("version"), QString()});
    for (const char* flag : {"csv", "force", "forget", "original", "only-language", "hide", "show",
                             "dry-run", "keep-both"})
        parser.addOption({QLatin1String(flag), QString()});
    const QStringList valued = {
        QStringLiteral("data-dir"),    QStringLiteral("game-dir"), QStringLiteral("language"),
        QStringLiteral("output"),      QStringLiteral("object"),   QStringLiteral("name"),
        QStringLiteral("description"), QStringLiteral("price"),    QStringLiteral("disabled"),
        QStringLiteral("sorts"),       QStringLiteral("preset"),   QStringLiteral("older-than"),
        QStringLiteral("change"),      QStringLiteral("match"),    QStringLiteral("price-change"),
        QStringLiteral("sort"),        QStringLiteral("to"),       QStringLiteral("guid"),
        QStringLiteral("userdata")};
    for (const QString& name : valued)
        parser.addOption({name, QString(), QStringLiteral("value")});
}

} // namespace

int RunCli(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    CliPrompt prompt(err);
    PromptScope promptScope(prompt);
    QCommandLineParser parser;
    AddOptions(parser);
    CliContext ctx{out, err, parser, {}};

    if (!parser.parse(arguments))
        return ctx.usage(parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        out << HelpText();
        out.flush();
        return CliExit::Done;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        out << QStringLiteral("kestrane-cli %1.%2.%3")
                   .arg(KESTRANE_VERSION_MAJOR)
                   .arg(KESTRANE_VERSION_MINOR)
                   .arg(KESTRANE_VERSION_PATCH)
            << '\n'
            << kVersionNotice;
        out.flush();
        return CliExit::Done;
    }

    QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return ctx.usage(QStringLiteral("No command given."));
    const QString name = positional.takeFirst();
    const Command* command = nullptr;
    for (const Command& candidate : Commands()) {
        if (name == QLatin1String(candidate.name))
            command = &candidate;
    }
    if (!command)
        return ctx.usage(QStringLiteral("Unknown command \"%1\".").arg(name));
    if (positional.size() < command->arguments.size())
        return ctx.usage(QStringLiteral("%1 needs %2.").arg(name, command->arguments.join(' ')));
    if (positional.size() > command->arguments.size() && !command->moreFiles)
        return ctx.usage(QStringLiteral("Unexpected argument \"%1\".")
                             .arg(positional.at(command->arguments.size())));
    for (const QString& option : parser.optionNames()) {
        if (!kGlobalOptions.contains(option) && !command->options.contains(option))
            return ctx.usage(
                QStringLiteral("The option --%1 does not apply to %2.").arg(option, name));
    }
    for (const QString& option : {QStringLiteral("data-dir"), QStringLiteral("game-dir")}) {
        if (parser.isSet(option) && parser.value(option).isEmpty())
            return ctx.usage(QStringLiteral("--%1 needs a folder.").arg(option));
    }

    if (parser.isSet(QStringLiteral("language")) && !ctx.language())
        return ctx.usage(QStringLiteral("--language needs a code from 1 to 20 or a language's "
                                        "name, such as \"UK English\"."));

    ctx.arguments = positional;
    ProgramState.GameLanguage = ctx.language()
                                    ? ctx.language()
                                    : FindGameLanguage(parser.value(QStringLiteral("game-dir")));
    InitConvert();
    try {
        return command->run(ctx);
    } catch (const std::exception& error) {
        // A lookup or conversion the damaged file did not allow: report, never crash.
        return ctx.fail(QString::fromLocal8Bit(error.what()));
    }
}
