#include "model/ProtocolReader.h"

#include "common/Console.h"
#include "model/JsonDecoding.h"

using namespace JsonDecoding;

namespace {

DroneSettings decodeDrone(const Json &value, const Path &path)
{
    const Keyed keys(value, path);
    DroneSettings drone;
    drone.ActionType = keys.required("ActionType", string);
    drone.Parameters = keys.strict("Parameters", string);
    return drone;
}

std::optional<QString> optionalString(const Json &value, const Path &path)
{
    if (value.is_null())
        return std::nullopt;
    return string(value, path);
}

OptionalViewSettings decodeOptionalView(const Json &value, const Path &path)
{
    const Keyed keys(value, path);
    OptionalViewSettings view;
    view.ViewName = keys.required("ViewName", string);
    const auto optionalStrings = [](const Json &v, const Path &p) { return array(v, p, optionalString); };
    if (auto list = keys.lenient("Parameters", optionalStrings))
        view.Parameters = *list;
    else if (auto single = keys.lenient("Parameters", string))
        view.Parameters = OptionalViewSettings::parametersFromString(view.ViewName, *single);
    return view;
}

DeelTestje decodeStep(const Json &value, const Path &path)
{
    const Keyed keys(value, path);
    const auto drones = [](const Json &v, const Path &p) { return array(v, p, decodeDrone); };
    const auto views = [](const Json &v, const Path &p) { return array(v, p, decodeOptionalView); };

    DeelTestje step;
    if (auto id = keys.strict("id", uuid))
        step.id = *id;
    step.numID = keys.strict("numID", integer).value_or(keys.lenient("VeskLabel", integer).value_or(0));
    step.name = keys.strict("name", string).value_or(keys.lenient("TestNaam", string).value_or(QString()));
    step.description =
        keys.strict("description", string).value_or(keys.lenient("TestInstructie", string).value_or(QString()));
    step.duration = keys.strict("duration", integer).value_or(keys.lenient("TestDuur", integer).value_or(0));

    step.autoContinue = keys.strict("autoContinue", boolean);
    if (!step.autoContinue)
        step.autoContinue = keys.strict("AutoContinue", boolean);

    step.drone = keys.lenient("drone", drones);
    if (!step.drone)
        step.drone = keys.lenient("Drone", drones);
    if (!step.drone) {
        if (auto action = keys.lenient("Drone", string))
            step.drone = QList<DroneSettings>{DroneSettings{*action, std::nullopt}};
    }

    step.aloud_silent = keys.strict("aloud_silent", boolean);
    if (!step.aloud_silent)
        step.aloud_silent = keys.strict("Aloud_silent", boolean);
    step.read_noread = keys.strict("read_noread", boolean);
    if (!step.read_noread)
        step.read_noread = keys.strict("Read_noread", boolean);

    step.labelID = keys.strict("labelID", string).value_or(keys.lenient("Label", string).value_or(QString()));

    step.optionalViews = keys.strict("optionalViews", views);
    if (!step.optionalViews)
        step.optionalViews = keys.strict("OptionalViews", views);
    return step;
}

std::unique_ptr<Run> decodeRun(const Json &root)
{
    const Keyed keys(root, {});
    const auto steps = [](const Json &v, const Path &p) { return array(v, p, decodeStep); };

    auto run = std::make_unique<Run>();
    run->setVersion(keys.required("version", string));

    if (auto english = keys.strict("steps", steps))
        run->setSteps(*english);
    else
        run->setSteps(keys.lenient("data", steps).value_or(QList<DeelTestje>{}));

    std::optional<QString> name = keys.strict("researchName", string);
    if (!name)
        name = keys.strict("Onderzoeksnaam", string);
    if (!name)
        name = keys.strict("onderzoeksnaam", string);
    run->setResearchName(name.value_or(QStringLiteral("aap")));

    run->setVeskPauseLabel(keys.required("VeskPauseLabel", integer));
    run->setResearchDescription(keys.strict("researchDescription", string));
    run->setIDlist(keys.lenient("IDlist", integerMap).value_or(QMap<QString, qint64>{}));
    run->setUsesDrone(keys.lenient("usesDrone", boolean).value_or(true));
    return run;
}

} // namespace

ProtocolReader::Result ProtocolReader::decode(const QByteArray &bytes)
{
    try {
        Result result{decodeRun(parse(bytes)), std::nullopt};
        Console::line(QStringLiteral("inside required init (decoder) - reached the end"));
        return result;
    } catch (const DecodingFailure &failure) {
        return {nullptr, failure.error};
    }
}
