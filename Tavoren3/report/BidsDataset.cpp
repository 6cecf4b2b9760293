#include "report/BidsDataset.h"

#include "common/WholeFile.h"
#include "report/BidsEventTable.h"
#include "report/RunSessionFile.h"
#include "run/LogTime.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <nlohmann/json.hpp>

#include <algorithm>

namespace {

constexpr const char *bidsVersion = "1.9.0";

QList<QStringList> readTsv(const QString &path)
{
    QList<QStringList> rows;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return rows;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        if (!line.isEmpty())
            rows.append(line.split(QLatin1Char('\t')));
    }
    return rows;
}

QByteArray tsv(const QList<QStringList> &rows)
{
    QString out;
    for (const QStringList &row : rows)
        out += row.join(QLatin1Char('\t')) + QLatin1Char('\n');
    return out.toUtf8();
}

QByteArray json(const nlohmann::ordered_json &value)
{
    return QByteArray::fromStdString(value.dump(2)) + '\n';
}

QString readme(const QString &research)
{
    return QStringLiteral(
               "# %1\n\n"
               "Events of the runs of the research protocol \"%1\", exported from the timekeeper's label files "
               "by tavoren-cli bids.\n\n"
               "Each run is sub-<participant>/beh/sub-<participant>_task-<protocol>_run-<n>_events.tsv. Runs of a "
               "participant and protocol are numbered in the order they were started; "
               "sub-<participant>/sub-<participant>_scans.tsv gives each run's start (acq_time).\n\n"
               "Onsets are seconds from the label file's \"Start\" line, the moment the timekeeper started the run, "
               "by the clock of the timekeeper's tablet; durations are in seconds. The rows are the protocol's steps "
               "(trial_type is the step's label, step_id its numeric id, value the trigger code sent at its start), pauses, restarts, notes, slider ratings, "
               "task lines and blood-pressure readings. Each run's _events.json describes the columns.\n")
        .arg(research);
}

QString eventsName(const QString &subject, const QString &task, int run, const char *extension)
{
    return QStringLiteral("sub-%1_task-%2_run-%3_events.%4").arg(subject, task).arg(run).arg(QLatin1String(extension));
}

} // namespace

std::optional<BidsDataset::RunName> BidsDataset::runName(const QString &fileName)
{
    static const QRegularExpression form(QStringLiteral("^(.*)_([^_]*)_1_(\\d{8}_\\d{6})\\.lbl$"));
    const auto m = form.match(fileName);
    if (!m.hasMatch())
        return std::nullopt;
    const auto time = LogTime::readRunTimestamp(m.captured(3));
    if (!time)
        return std::nullopt;
    return RunName{m.captured(1), m.captured(2), *time};
}

QString BidsDataset::bidsLabel(const QString &text)
{
    QString label;
    for (const QChar c : text) {
        if (c.unicode() < 128 && c.isLetterOrNumber())
            label.append(c);
    }
    return label;
}

BidsDataset::BidsDataset(QString folder, QStringList authors) : m_folder(std::move(folder)), m_authors(std::move(authors))
{
}

QString BidsDataset::path(const QString &relative) const
{
    return QDir(m_folder).filePath(relative);
}

bool BidsDataset::write(const QString &relative, const QByteArray &bytes, QString *error) const
{
    const QString file = path(relative);
    QFile existing(file);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == bytes)
        return true;
    if (!QDir().mkpath(QFileInfo(file).absolutePath())) {
        *error = QFileInfo(file).absolutePath() + QStringLiteral(": cannot be made");
        return false;
    }
    QString reason;
    if (!WholeFile::write(file, bytes, &reason)) {
        *error = file + QStringLiteral(": ") + reason;
        return false;
    }
    return true;
}

bool BidsDataset::writeDatasetFiles(const RunName &name, QString *error) const
{
    if (!QFileInfo::exists(path(QStringLiteral("dataset_description.json")))) {
        nlohmann::ordered_json description = {{"Name", name.research.toStdString()},
                                              {"BIDSVersion", bidsVersion},
                                              {"DatasetType", "raw"}};
        if (!m_authors.isEmpty()) {
            description["Authors"] = nlohmann::json::array();
            for (const QString &author : m_authors)
                description["Authors"].push_back(author.toStdString());
        }
        description["GeneratedBy"] = {{{"Name", "tavoren-cli bids"}}};
        if (!write(QStringLiteral("dataset_description.json"), json(description), error))
            return false;
    }
    if (!QFileInfo::exists(path(QStringLiteral("README")))
        && !write(QStringLiteral("README"), readme(name.research).toUtf8(), error))
        return false;
    if (!QFileInfo::exists(path(QStringLiteral("participants.json")))) {
        const nlohmann::ordered_json columns = {
            {"participant_id", {{"Description", "sub- followed by the participant id, letters and digits only."}}},
            {"ppid", {{"Description", "The participant id as the timekeeper typed it (PPID)."}}}};
        if (!write(QStringLiteral("participants.json"), json(columns), error))
            return false;
    }
    return true;
}

bool BidsDataset::addParticipant(const QString &subject, const QString &participant, QString *error) const
{
    QList<QStringList> rows = readTsv(path(QStringLiteral("participants.tsv")));
    if (rows.isEmpty())
        rows.append({QStringLiteral("participant_id"), QStringLiteral("ppid")});
    const QStringList header = rows.first();
    const qsizetype idColumn = header.indexOf(QStringLiteral("participant_id"));
    const qsizetype ppidColumn = header.indexOf(QStringLiteral("ppid"));
    if (idColumn < 0) {
        *error = path(QStringLiteral("participants.tsv")) + QStringLiteral(": no participant_id column");
        return false;
    }
    const QString cellText = BidsEventTable::cell(participant);
    for (const QStringList &row : rows.mid(1)) {
        if (row.value(idColumn) != QStringLiteral("sub-") + subject)
            continue;
        if (ppidColumn >= 0 && row.value(ppidColumn) != cellText) {
            *error = QStringLiteral("participant ids \"%1\" and \"%2\" both give sub-%3")
                         .arg(row.value(ppidColumn), participant, subject);
            return false;
        }
        return true;
    }
    QStringList row;
    for (qsizetype i = 0; i < header.size(); ++i)
        row.append(i == idColumn ? QStringLiteral("sub-") + subject : i == ppidColumn ? cellText : QStringLiteral("n/a"));
    rows.append(row);
    return write(QStringLiteral("participants.tsv"), tsv(rows), error);
}

BidsDataset::Added BidsDataset::add(const QString &labelFile, const QString &eventLog)
{
    Added added;
    const QString fileName = QFileInfo(labelFile).fileName();
    const auto name = runName(fileName);
    if (!name) {
        added.error = fileName + QStringLiteral(": the name does not read as research_PPID_1_yyyyMMdd_HHmmss.lbl");
        return added;
    }
    const QString subject = bidsLabel(name->participant);
    const QString task = bidsLabel(name->research);
    if (subject.isEmpty() || task.isEmpty()) {
        added.error = fileName + QStringLiteral(": the %1 \"%2\" has no letters or digits")
                                     .arg(subject.isEmpty() ? QStringLiteral("participant id") : QStringLiteral("research name"),
                                          subject.isEmpty() ? name->participant : name->research);
        return added;
    }
    QString reason;
    const auto session = RunSessionFile::read(labelFile, &reason);
    if (!session) {
        added.error = labelFile + QStringLiteral(": ") + reason;
        return added;
    }
    QFile log(eventLog.isEmpty() ? RunSessionFile::eventLogOf(labelFile) : eventLog);
    const bool logged = log.open(QIODevice::ReadOnly);
    const auto table = BidsEventTable::of(*session, logged ? MarkerLogLine::sentIn(log.readAll()) : QList<MarkerLogLine::Sent>());
    if (!table) {
        added.error = labelFile + QStringLiteral(": no \"Start\" line to measure the onsets from");
        return added;
    }
    if (session->error)
        added.warnings.append(labelFile + QStringLiteral(": ") + session->error->message + QStringLiteral("; read up to there"));
    if (!logged)
        added.warnings.append(log.fileName() + QStringLiteral(": no event log to read the markers from; the value column is n/a"));
    if (!writeDatasetFiles(*name, &added.error) || !addParticipant(subject, name->participant, &added.error))
        return added;

    // The runs of this participant and protocol, by start time, with this one among them.
    const QString scansFile = QStringLiteral("sub-%1/sub-%1_scans.tsv").arg(subject);
    QList<QStringList> scans = readTsv(path(scansFile));
    if (scans.isEmpty())
        scans.append({QStringLiteral("filename"), QStringLiteral("acq_time")});
    const QString runPrefix = QStringLiteral("beh/sub-%1_task-%2_run-").arg(subject, task);
    const QString beh = QStringLiteral("sub-%1/beh/").arg(subject);
    const QString acquired = name->runTime.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
    QStringList times{acquired};
    for (const QStringList &row : scans.mid(1)) {
        if (row.value(0).startsWith(runPrefix) && !times.contains(row.value(1)))
            times.append(row.value(1));
    }
    std::sort(times.begin(), times.end());
    const auto numberOf = [&](const QString &time) { return int(times.indexOf(time)) + 1; };

    // Later runs move up by one when an earlier one is added: highest first.
    QList<QStringList> moved = scans.mid(1);
    std::sort(moved.begin(), moved.end(), [](const QStringList &a, const QStringList &b) { return a.value(1) > b.value(1); });
    for (const QStringList &row : moved) {
        if (!row.value(0).startsWith(runPrefix) || row.value(1) == acquired)
            continue;
        const int from = row.value(0).mid(runPrefix.size()).section(QLatin1Char('_'), 0, 0).toInt();
        const int to = numberOf(row.value(1));
        if (from == to)
            continue;
        for (const char *extension : {"tsv", "json"}) {
            const QString source = path(beh + eventsName(subject, task, from, extension));
            if (QFile::exists(source) && !QFile::rename(source, path(beh + eventsName(subject, task, to, extension)))) {
                added.error = source + QStringLiteral(": cannot be renumbered to run %1").arg(to);
                return added;
            }
        }
        added.renumbered.append(beh + eventsName(subject, task, to, "tsv"));
    }
    QList<QStringList> kept{scans.first()};
    for (const QStringList &row : scans.mid(1)) {
        if (!row.value(0).startsWith(runPrefix))
            kept.append(row);
    }
    for (const QString &time : times)
        kept.append({QStringLiteral("beh/") + eventsName(subject, task, numberOf(time), "tsv"), time});
    std::stable_sort(kept.begin() + 1, kept.end(), [](const QStringList &a, const QStringList &b) { return a.value(1) < b.value(1); });

    const int run = numberOf(acquired);
    const QString eventsFile = beh + eventsName(subject, task, run, "tsv");
    if (!write(eventsFile, table->tsv(), &added.error)
        || !write(beh + eventsName(subject, task, run, "json"), BidsEventTable::sidecar(), &added.error)
        || !write(scansFile, tsv(kept), &added.error))
        return added;
    added.eventsFile = eventsFile;
    return added;
}
