#include "support/SmallDisk.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

constexpr const char *folderVariable = "TAVOREN_SMALL_DISK";

// Mounts a tmpfs of size $1 on $2, then runs the rest of the arguments there.
ProgramRun inNamespace(const QString &size, const QString &folder, const QStringList &command)
{
    return ProgramRun::of(QStringLiteral("unshare"),
                          QStringList{"-Urm", "sh", "-c",
                                      QStringLiteral("mount -t tmpfs -o size=\"$1\" none \"$2\" && export %1=\"$2\" "
                                                     "&& shift 2 && exec \"$@\"")
                                          .arg(QLatin1String(folderVariable)),
                                      "sh", size, folder}
                              + command);
}

} // namespace

std::optional<QString> SmallDisk::inside()
{
    if (!qEnvironmentVariableIsSet(folderVariable))
        return std::nullopt;
    return qEnvironmentVariable(folderVariable);
}

QString SmallDisk::unavailableReason()
{
    QTemporaryDir folder;
    const ProgramRun probe = inNamespace(QStringLiteral("16k"), folder.path(), {"true"});
    if (probe.status == 0)
        return {};
    if (probe.status == -1)
        return QStringLiteral("unshare (util-linux) could not be run");
    return QStringLiteral("this machine does not let a user mount a tmpfs in a user and mount namespace: ")
        + QString::fromLocal8Bit(probe.err).trimmed();
}

ProgramRun SmallDisk::runCurrentTestInside(int sizeKb)
{
    const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
    QTemporaryDir folder;
    return inNamespace(QStringLiteral("%1k").arg(sizeKb), folder.path(),
                       {QCoreApplication::applicationFilePath(),
                        QStringLiteral("--gtest_filter=%1.%2").arg(test->test_suite_name(), test->name())});
}

bool SmallDisk::passed(const ProgramRun &run)
{
    return run.status == 0 && run.out.contains("[  PASSED  ] 1 test.");
}
