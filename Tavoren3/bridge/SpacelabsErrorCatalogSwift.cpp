#include "bridge/SpacelabsErrorCatalogSwift.h"

#include <QRegularExpression>

namespace {

struct Row
{
    const char *key;
    const char *code;
    Severity severity;
    const char *title;
    const char *description;
};

const Row umbrellaRows[] = {
    {"EC00", "EC00", Severity::warning,
     "Movement artifact / arrhythmia (umbrella)",
     "Umbrella event code EC00 (+ EC10, EC20, EC30, EC40, EC50, EC60, EC70, EC80, EC90).| Have the participant keep still, ensure cuff/tubing are secure, and retry later. Frequent EC00 can indicate an air leak."},
    {"EC01", "EC01", Severity::warning,
     "Did not pump to target pressure (umbrella)",
     "Umbrella event code EC01 (+ EC11, EC21, EC91).| Did not pump above the mean artial level/systolic pressure (or it appears higher then the maximum). Ensure cuff is attached correctly."},
    {"EC02", "EC02", Severity::warning,
     "Cuff pressure / attachment problem (umbrella)",
     "Umbrella event code EC02 (+ EC12, EC22, EC32, EC42, EC52, EC62).| There was over/under pressure. Check cuff attachment/fit and tubing, and retry."},
    {"EC03", "EC03", Severity::warning,
     "Measurement cancelled manually (umbrella)",
     "Umbrella event code EC03 (+ EC13).| The measurement was either manually cancelled by the participant or the Office Check Mode was instated (unlikely). You can safely retry in a minute."},
    {"EC04", "EC04", Severity::warning,
     "Not enough time/corrupted measuremt (umbrella)",
     "Umbrella event code EC04 (+ ECn4 with n = 1..9, EC05).| Could not complete measurement within time, usually because of participant movement. Other possibilities: currupted data, wrongly applied cuff, display malfunction."},
    {"EC08", "EC08", Severity::warning,
     "Not enough data for calculation (umbrella)",
     "Umbrella event code EC08 (+ EC18, EC28, EC38, Ec48, EC58, EC68).| Too few data entries to accurately calculate blood pressure. Ensure that the participant is actually wearing the cuff."},
    {"EC09", "EC09", Severity::warning,
     "Not enough time/corrupted measuremt (umbrella)",
     "Umbrella event code EC04 (+ ECn4 with n = 1..9, EC05).| Could not complete measurement within time, usually because of participant movement. Other possibilities: currupted data, wrongly applied cuff, display malfunction."},
};

const Row mainRows[] = {
    {"EC10", "EC10", Severity::warning,
     "Excess movement artifact",
     "Excess movement artifact EC10.| Ensure that the participant is being still and check for air leaks."},
    {"EC20", "EC20", Severity::warning,
     "Movement artifacts or arrhythmia",
     "Movement artifacts or arrhythmia EC20.| Many movement artifacts or possible arrhythmia. Reduce motion; note arrhythmia possibility."},
    {"EC30", "EC30", Severity::warning,
     "Movement artifact at MAP or arrhythmia",
     "Movement artifact at MAP or arrhythmia EC30.| Movement artifacts near mean arterial pressure step or possible arrhythmia. Ensure participant is sitting still."},
    {"EC40", "EC40", Severity::warning,
     "Movement artifact at asystole or arrhythmia",
     "Movement artifact at asystole or arrhythmia EC40.| Movement artifacts at critical step or possible arrhythmia. Ensure participant is sitting still."},
    {"EC50", "EC50", Severity::warning,
     "Movement artifact at diastole or arrhythmia",
     "Movement artifact at diastole or arrhythmia EC50.| Movement artifacts at critical step or possible arrhythmia. Ensure participant is sitting still."},
    {"EC60", "EC60", Severity::warning,
     "Movement artifact or arrhythmia",
     "Movement artifact or arrhythmia EC60.| Movement artifacts at critical step or possible arrhythmia. Ensure participant is sitting still."},
    {"EC70", "EC70", Severity::warning,
     "Systole above highest pressure",
     "Systole erroneously above highest pressure EC70.| Systole found above highest cuff pressure but declared an error due to motion; retry when still."},
    {"EC80", "EC80", Severity::warning,
     "Movement artifact or arrhythmia",
     "Movement artifact or arrhythmia EC80.| Movement artifacts at critical step or possible arrhythmia. Ensure participant is sitting still."},
    {"EC90", "EC90", Severity::warning,
     "Movement artifact or arrhythmia",
     "Movement artifact or arrhythmia EC90.| Movement artifacts at critical step or possible arrhythmia. Ensure participant is sitting still."},
    {"EC11", "EC11", Severity::warning,
     "Did not pump above mean arterial level",
     "Device did not pump above the mean arterial level EC11.| Check cuff fit and leaks."},
    {"EC21", "EC21", Severity::warning,
     "Did not pump above systolic pressure",
     "Device did not pump above systolic pressure EC21.| Check cuff size/fit and the air path."},
    {"EC91", "EC91", Severity::warning,
     "Systole above configured max limit",
     "Systole above configured max pressure limit EC91.| Ensure correct cuff fit and correct configuration. Alert the supervisor."},
    {"EC12", "EC12", Severity::warning,
     "Did not reach initial cuff pressure",
     "Device did not reach initial cuff pressure EC12.| Ensure that the cuff is applied correctly and check for air leaks."},
    {"EC22", "EC22", Severity::critical,
     "Overpressure",
     "Overpressure EC22.| Ensure that he cuff is applied correctly. May require service."},
    {"EC32", "EC32", Severity::critical,
     "Underpressure",
     "Underpressure EC32.| Ensure that he cuff is applied correctly. May require service."},
    {"EC42", "EC42", Severity::error,
     "No cuff attached",
     "No cuff attached EC42.| Ensure that the cuff is attached."},
    {"EC52", "EC52", Severity::warning,
     "Kinked hose",
     "Kinked hose EC52.| Ensure that the hose is not kinked. Inspect the hose and retry."},
    {"EC62", "EC62", Severity::warning,
     "Cuff too loose",
     "Cuff too loose EC62.| Ensure that the cuff is not too loose. (also top/bottom)."},
    {"EC82", "EC82", Severity::warning,
     "Kinked hose",
     "Unkink/inspect hose."},
    {"EC03", "EC03", Severity::info,
     "User canceled reading",
     "User cancelled reading EC03.| User pressed STOP and cancelled the measurement. Retry in a minute"},
    {"EC13", "EC13", Severity::info,
     "Office Check Mode reinstated",
     "Office Check Mode was reinstated EC13.| Office Check Mode reinstated, press the start/stop button to cancel future reading. Afterwards, try measuring again."},
    {"EC04", "EC04", Severity::warning,
     "Measurement timed out",
     "Measurement timed out EC04.| Not completed in maximum time. If rare, this code suggest participant movement, if frequent, it suggests an improperly applied cuff or a hardware problem."},
    {"EC14", "EC14", Severity::error,
     "BP result corrupted and recovered",
     "One or more BP result corrupted and then recovered EC14.| One or more BP result corrupted and then recovered - try again. If the error persists, contact support."},
    {"EC24", "EC24", Severity::error,
     "BP result corrupted and recovered",
     "One or more BP result corrupted and then recovered EC24.| One or more BP result corrupted and then recovered - try again. If the error persists, contact support."},
    {"EC34", "EC34", Severity::error,
     "BP result corrupted and recovered",
     "One or more BP result corrupted and then recovered EC34.| One or more BP result corrupted and then recovered - try again. If the error persists, contact support."},
    {"EC44", "EC44", Severity::error,
     "BP result corrupted and recovered",
     "One or more BP result corrupted and then recovered EC44.| One or more BP result corrupted and then recovered - try again. If the error persists, contact support."},
    {"EC54", "EC54", Severity::error,
     "BP result corrupted and recovered",
     "One or more BP result corrupted and then recovered EC54.| One or more BP result corrupted and then recovered - try again. If the error persists, contact support."},
    {"EC64", "EC64", Severity::error,
     "BP result corrupted and recovered",
     "One or more BP result corrupted and then recovered EC64.| One or more BP result corrupted and then recovered - try again. If the error persists, contact support."},
    {"EC74", "EC74", Severity::error,
     "BP result corrupted and recovered",
     "One or more BP result corrupted and then recovered EC74.| One or more BP result corrupted and then recovered - try again. If the error persists, contact support."},
    {"EC84", "EC84", Severity::error,
     "BP result corrupted and recovered",
     "One or more BP result corrupted and then recovered EC84.| One or more BP result corrupted and then recovered - try again. If the error persists, contact support."},
    {"EC94", "EC94", Severity::error,
     "BP result corrupted and recovered",
     "One or more BP result corrupted and then recovered EC94.| One or more BP result corrupted and then recovered - try again. If the error persists, contact support."},
    {"EC05", "EC05", Severity::error,
     "BP result corrupted (not recoverable)",
     "Individual BP result corrupted EC05.| Current measurement was corrupted - Try again"},
    {"EC15", "EC15", Severity::critical,
     "Equipment malfunction",
     "Equipment malfunction EC15.| Stop teh usage and return for service."},
    {"EC25", "EC25", Severity::error,
     "Failed to initialize",
     "Unit failed to initialise EC25.| Unit failed to initialise, please reinitialize."},
    {"EC35", "EC35", Severity::error,
     "Needs reinitialization / readings may be erroneous",
     "Needs reinitialization / readings may be erroneous EC35.| If model 90217, reinitalise monitor, otherwise, otherwise one or more BP readings are erroneous - interpret with caution."},
    {"EC45", "EC45", Severity::warning,
     "Invalid bleed size (auto-corrected)",
     "Invalid bleed size + auto-correction EC45.| Due to an invalid bleed size the monitor automatically changed bleed size to 8 mmHg."},
    {"EC55", "EC55", Severity::error,
     "Unexpected loss of power",
     "Unexpected loss of power EC55.| Unexpected loss of power, replace batteries correctly; if frequent, contact support."},
    {"EC65", "EC65", Severity::error,
     "Malfunction or extremely large artifact",
     "Malfunction or extremely large artifact EC65.| If model 90217, there was an extreamly large artifact, otherwise, it's an equipment malfunction - contact support."},
    {"EC75", "EC75", Severity::error,
     "Equipment malfunction",
     "Equipment malfunction EC75.| Equipment malfunction occured - contact support."},
    {"EC85", "EC85", Severity::error,
     "Equipment malfunction",
     "Equipment malfunction EC85.| Equipment malfunction occured - contact support."},
    {"EC95", "EC95", Severity::error,
     "Cuff pressure baseline out of bounds",
     "Cuff pressure baseline out of bounds EC95.| Cuff pressure baseline out of bounds. The monitor should self-correct it within 10 min. If it does not reinitialization. If the issue persistents, contact support"},
    {"EC78", "EC78", Severity::warning,
     "Clogged Luer filter",
     "Clogged Luer filter EC78.| Clogged Luer filter, replace it or contact support."},
    {"EC18", "EC18", Severity::warning,
     "Too few data entries",
     "Too few data entries EC18.| Too few data entries to accurately determen BP measurement. Ensure cuff is worn appropriately and that the participant is still."},
    {"EC28", "EC28", Severity::error,
     "Diastole above 200 mmHg",
     "Diastole above 200 mmHg EC28.| Diastole above 200 mmHg. Ensure cuff is worn appropriately and that the participant is still."},
    {"EC38", "EC38", Severity::error,
     "Pulse pressure < 16 mmHg",
     "Pulse pressure < 16 mmHg EC38.| Ensure cuff is worn appropriately and that the participant is still."},
    {"EC48", "EC48", Severity::warning,
     "Movement artifact at diastole or arrhythmia",
     "Movement artifact at diastole or arrhythmia EC48.| Movement artifacts at critical step or possible arrhythmia. Ensure participant is sitting still."},
    {"EC58", "EC58", Severity::warning,
     "Movement artifact at diastole or arrhythmia",
     "Movement artifact at diastole or arrhythmia EC58.| Movement artifacts at critical step or possible arrhythmia. Ensure participant is sitting still."},
    {"EC68", "EC68", Severity::error,
     "Division by zero",
     "Division by zero EC68.| Ensure that the cuff is worn correctlya and that the participant is still. If issue persists, contact support."},
    {"EC19", "EC19", Severity::error,
     "Contradictory instructions sent to hardware",
     "Contradictory instructions sent to hardware EC19.| Inspect the display and retry in a minute."},
    {"EC29", "EC29", Severity::error,
     "Diastolic pressure value cannot be obtained",
     "Diastolic pressure value cannot be obtained EC29.| Missing/corrupt/erroneous data. Try again in a minute."},
    {"EC39", "EC39", Severity::warning,
     "Systolic pressure cannot be obtained / queue overflow",
     "Systolic pressure cannot be obtained / queue overflow EC39.| If model 90217, there was input queue overflow, otherwise, there was an issue obtaining systolic pressure. Either way, leave the device and try again in a minute."},
    {"EC49", "EC49", Severity::warning,
     "MAP cannot be obtained / monitor needs initialization",
     "MAP cannot be obtained / monitor needs initialization EC49.| If model 90217, monitor needs to be reinitialised, otherwise, there was an issue optaining the MAP - try again in a minute."},
    {"EC59", "EC59", Severity::warning,
     "Heart rate value cannot be obtained",
     "Heart rate value cannot be obtained EC59.| Heart rate value cannot be obtained from available data, try again in a minute."},
    {"EC69", "EC69", Severity::warning,
     "Heart rate value cannot be obtained",
     "Heart rate value cannot be obtained EC69.| Heart rate value cannot be obtained from available data, try again in a minute."},
    {"EC79", "EC79", Severity::error,
     "Bleed steps too small (obstruction)",
     "Bleed steps too small (obstruction) EC79.| Bleed steps too small (obstruction) mostlikely due a (partial) obstruction of the air hose. Inspect the air hose, turn the device off and on again, then retry."},
    {"EC99", "EC99", Severity::critical,
     "Unexpected/contradictory data",
     "Unexpected/contradictory data EC99.| Unexpected/contradictory data (eg. negative cuff pressure). Contact support"},
    {"EC16", "EC16", Severity::warning,
     "Low battery (pre-measurement)",
     "Low battery detected pre-measurement EC16.| Replace batteries."},
    {"EC26", "EC26", Severity::warning,
     "Low battery (during measurement)",
     "Low battery detected during the measurement EC26.| Replace batteries."},
};

const Row displayCodeRows[] = {
    {"LLL", "LLL", Severity::warning,
     "Low main battery",
     "Low main battery detected prior to measurement.| Replace the main battery."},
    {"LBB", "Lbb", Severity::warning,
     "Low backup battery",
     "Low backup battery.| Contact support for the replacement of the backup battery."},
};

template<std::size_t N>
QMap<QString, ErrorStatusSwift> tableOf(const Row (&rows)[N])
{
    QMap<QString, ErrorStatusSwift> table;
    for (const Row &row : rows)
        table.insert(QString::fromUtf8(row.key),
                     {QString::fromUtf8(row.code), QString::fromUtf8(row.title), QString::fromUtf8(row.description),
                      row.severity});
    return table;
}

std::optional<ErrorStatusSwift> entryIn(const QMap<QString, ErrorStatusSwift> &table, const QString &key)
{
    const auto found = table.constFind(key);
    if (found == table.constEnd())
        return std::nullopt;
    return *found;
}

} // namespace

const QMap<QString, ErrorStatusSwift> &SpacelabsErrorCatalogSwift::umbrellaEntries()
{
    static const QMap<QString, ErrorStatusSwift> table = tableOf(umbrellaRows);
    return table;
}

const QMap<QString, ErrorStatusSwift> &SpacelabsErrorCatalogSwift::mainEntries()
{
    static const QMap<QString, ErrorStatusSwift> table = tableOf(mainRows);
    return table;
}

const QMap<QString, ErrorStatusSwift> &SpacelabsErrorCatalogSwift::displayCodeEntries()
{
    static const QMap<QString, ErrorStatusSwift> table = tableOf(displayCodeRows);
    return table;
}

std::optional<ErrorStatusSwift> SpacelabsErrorCatalogSwift::lookup(const QString &code)
{
    const QString key = code.trimmed().toUpper();
    if (auto umbrella = entryIn(umbrellaEntries(), key))
        return umbrella;
    static const QRegularExpression recovered(QStringLiteral("\\AEC[1-9]4\\z"));
    if (recovered.match(key).hasMatch())
        return ErrorStatusSwift{key, QStringLiteral("Recovered corrupted BP result"),
                                QStringLiteral("One or more BP results were corrupted then recovered. If frequent, "
                                               "indicates malfunction needing service."),
                                Severity::warning};
    if (auto main = entryIn(mainEntries(), key))
        return main;
    return entryIn(displayCodeEntries(), key);
}
