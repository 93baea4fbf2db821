#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <cstring>

#include "app/AddEngineCommand.h"
#include "catalogue/CatalogChecker.h"
#include "catalogue/CatalogFile.h"
#include "platform/ModulePaths.h"

namespace
{
const QString kProgramName = QStringLiteral("quaerio");

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

int fail(const QString &message)
{
    err() << kProgramName << ": " << message << Qt::endl;
    return kCommandLineErrorExitCode;
}

QStringList argumentsOf(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return OwnArguments(arguments);
}

// QGuiApplication's and QApplication's own options, with and without a value.
bool IsQtOptionWithValue(QStringView name)
{
    static const QStringList names{
        QStringLiteral("platform"), QStringLiteral("platformpluginpath"), QStringLiteral("platformtheme"),
        QStringLiteral("plugin"), QStringLiteral("qwindowgeometry"), QStringLiteral("qwindowicon"),
        QStringLiteral("qwindowtitle"), QStringLiteral("style"), QStringLiteral("stylesheet"),
        QStringLiteral("session"), QStringLiteral("display"), QStringLiteral("geometry"),
        QStringLiteral("qmljsdebugger")};
    return names.contains(name);
}

bool IsQtFlag(QStringView name)
{
    static const QStringList names{QStringLiteral("reverse"), QStringLiteral("widgetcount"),
                                   QStringLiteral("nograb"), QStringLiteral("dograb"), QStringLiteral("sync")};
    return names.contains(name);
}

QString catalogueInUse(const char *argv0)
{
    return CatalogPathInUse(ReplaceFileName(ProgramFilePath(argv0), QString::fromUtf16(kCatalogFileName)),
                            UserCatalogPath());
}
} // namespace

QStringList OwnArguments(const QStringList &arguments)
{
    QStringList own;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == u"--") {
            own.append(arguments.mid(i));
            break;
        }
        if (i == 0) {
            own.append(argument);
            continue;
        }
        // Qt takes its options with one dash or two, the value joined by "="
        // or as the next argument.
        QStringView name = QStringView(argument);
        if (!name.startsWith(u'-') || name.size() < 2) {
            own.append(argument);
            continue;
        }
        name = name.mid(name.startsWith(u"--") ? 2 : 1);
        const qsizetype equals = name.indexOf(u'=');
        const QStringView bare = equals >= 0 ? name.left(equals) : name;
        if (IsQtFlag(bare) && equals < 0)
            continue;
        if (IsQtOptionWithValue(bare)) {
            if (equals < 0)
                ++i; // the value follows
            continue;
        }
        own.append(argument);
    }
    return own;
}

int QtArgumentCount(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0)
            return i;
    }
    return argc;
}

QString ProgramFilePath(const char *argv0)
{
    // The same file QCoreApplication::applicationFilePath() names later.
    const QString self = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
    if (!self.isEmpty())
        return self;
    return QFileInfo(QString::fromLocal8Bit(argv0 ? argv0 : "")).absoluteFilePath();
}

namespace
{
// The options, in the order the help lists them.
struct SOptions
{
    QCommandLineOption help{QStringList{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help and exit.")};
    QCommandLineOption version{QStringList{QStringLiteral("v"), QStringLiteral("version")},
                               QStringLiteral("Show the version and exit.")};
    QCommandLineOption language{QStringLiteral("language"),
                                QStringLiteral("Search in the language NAME of the catalogue (any letter case)."),
                                QStringLiteral("NAME")};
    QCommandLineOption category{QStringLiteral("category"),
                                QStringLiteral("Search in the category NAME (any letter case); without --language, "
                                               "in the language shown if it has one, else in the first that has."),
                                QStringLiteral("NAME")};
    QCommandLineOption newSearch{QStringLiteral("new-search"),
                                 QStringLiteral("Start the form afresh, as File > New Search does (in the running "
                                                "Quaerio, if there is one).")};
    QCommandLineOption check{QStringLiteral("check-catalogue"),
                             QStringLiteral("Check the catalogue FILE (default: the one in use, yours once you changed the engines, "
                                            "else the one beside the program), print "
                                            "one line per problem and exit: 0 clean, 1 problems, 2 unreadable.")};
    QCommandLineOption addEngine{QStringLiteral("add-engine"),
                                 QStringLiteral("Add the engine that the OpenSearch description SOURCE (a file, or an http "
                                                "or https address) describes to your catalogue, in the category given by "
                                                "--language and --category (made if missing), and exit: 0 added, 1 "
                                                "refused, 2 unreadable."),
                                 QStringLiteral("SOURCE")};
    QCommandLineOption name{QStringLiteral("name"),
                            QStringLiteral("With --add-engine: the name the engine is shown by, instead of the description's."),
                            QStringLiteral("NAME")};
};

void describe(QCommandLineParser &parser, const SOptions &options)
{
    parser.setApplicationDescription(QStringLiteral("Sends one query to every search engine of a category at once.\n"
                                                    "Keywords given are searched as soon as the window is up; when "
                                                    "Quaerio is already running, its window searches them instead."));
    parser.addOptions({options.help, options.version, options.language, options.category, options.newSearch, options.check,
                       options.addEngine, options.name});
    parser.addPositionalArgument(QStringLiteral("keywords"),
                                 QStringLiteral("What to search for; put -- before keywords that start with \"-\"."),
                                 QStringLiteral("[keywords...]"));
}

// The search the arguments ask for, or the exit code of a mistake in them.
std::optional<int> readRequest(const QCommandLineParser &parser, const SOptions &options, const char *argv0,
                               SSearchRequest &request)
{
    request.strLanguage = parser.value(options.language);
    request.strCategory = parser.value(options.category);
    request.strKeywords = JoinKeywords(parser.positionalArguments());
    request.bNewSearch = parser.isSet(options.newSearch);
    if (parser.isSet(options.language) && request.strLanguage.isEmpty())
        return fail(QStringLiteral("--language needs a name"));
    if (parser.isSet(options.category) && request.strCategory.isEmpty())
        return fail(QStringLiteral("--category needs a name"));

    // Without a catalogue there is nothing to check the names against; the
    // start-up then says that the catalogue is missing.
    CCatalogFile catalog;
    catalog.m_szPath = catalogueInUse(argv0);
    if (catalog.Exists() && !QFileInfo(catalog.m_szPath).isDir()) {
        const QString problem = CheckRequestNames(catalog, request);
        if (!problem.isEmpty())
            return fail(problem);
    }
    return std::nullopt;
}

int addEngine(const QCommandLineParser &parser, const SOptions &options, char *argv[])
{
    const SAddEngineRequest request{parser.value(options.addEngine), parser.value(options.language),
                                    parser.value(options.category), parser.value(options.name)};
    if (request.strSource.isEmpty() || request.strLanguage.isEmpty() || request.strCategory.isEmpty())
        return fail(QStringLiteral("--add-engine needs a file or an address, and --language and --category their names"));
    if (!parser.positionalArguments().isEmpty() || parser.isSet(options.newSearch))
        return fail(QStringLiteral("--add-engine takes no keywords and no --new-search"));
    // The network needs an application object and its event loop, but no display.
    int qtArgc = 1;
    QCoreApplication application(qtArgc, argv);
    return AddEngineCommand(request, catalogueInUse(argv[0]), UserCatalogPath());
}
} // namespace

std::optional<int> ParseCommandLine(int argc, char *argv[], SCommandLine &commandLine)
{
    QCoreApplication::setApplicationName(QStringLiteral("Quaerio"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUAERIO_VERSION));

    const SOptions options;
    QCommandLineParser parser;
    describe(parser, options);
    if (!parser.parse(argumentsOf(argc, argv)))
        return fail(parser.errorText() + QStringLiteral("\nTry 'quaerio --help'."));
    if (parser.isSet(options.help)) {
        // Without an application object the parser cannot know the program's name.
        out() << parser.helpText().replace(QStringLiteral("<executable_name>"), kProgramName);
        out().flush();
        return kCommandLineOkExitCode;
    }
    if (parser.isSet(options.version)) {
        out() << QCoreApplication::applicationName() << ' ' << QCoreApplication::applicationVersion() << Qt::endl;
        return kCommandLineOkExitCode;
    }
    if (parser.isSet(options.check)) {
        const QStringList files = parser.positionalArguments();
        if (files.size() > 1)
            return fail(QStringLiteral("--check-catalogue takes one file at most"));
        return CheckCatalogueCommand(files.isEmpty() ? catalogueInUse(argv[0]) : files.first());
    }
    if (parser.isSet(options.addEngine))
        return addEngine(parser, options, argv);
    if (parser.isSet(options.name))
        return fail(QStringLiteral("--name goes with --add-engine"));
    return readRequest(parser, options, argv[0], commandLine.request);
}

int CheckCatalogueCommand(const QString &path)
{
    CCatalogChecker checker(path);
    switch (checker.Check()) {
    case CCatalogChecker::EResult::Clean:
        return kCommandLineOkExitCode;
    case CCatalogChecker::EResult::Problems:
        for (const QString &line : checker.FormatProblems())
            out() << line << '\n';
        out().flush();
        return kCatalogueProblemsExitCode;
    case CCatalogChecker::EResult::Unreadable:
        break;
    }
    err() << path << ": cannot read: " << checker.UnreadableReason() << Qt::endl;
    return kCommandLineErrorExitCode;
}
