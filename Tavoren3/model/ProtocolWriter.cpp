#include "model/ProtocolWriter.h"

#include <nlohmann/json.hpp>

using Json = nlohmann::ordered_json;

namespace {

std::string text(const QString &s)
{
    return s.toStdString();
}

Json encodeStep(const DeelTestje &step)
{
    Json object;
    object["id"] = text(step.id.toString(QUuid::WithoutBraces).toUpper());
    object["numID"] = step.numID;
    object["name"] = text(step.name);
    object["description"] = text(step.description);
    object["duration"] = step.duration;
    if (step.autoContinue)
        object["autoContinue"] = *step.autoContinue;
    if (step.drone) {
        Json drones = Json::array();
        for (const DroneSettings &drone : *step.drone) {
            Json d;
            d["ActionType"] = text(drone.ActionType);
            if (drone.Parameters)
                d["Parameters"] = text(*drone.Parameters);
            drones.push_back(std::move(d));
        }
        object["drone"] = std::move(drones);
    }
    if (step.aloud_silent)
        object["aloud_silent"] = *step.aloud_silent;
    if (step.read_noread)
        object["read_noread"] = *step.read_noread;
    object["labelID"] = text(step.labelID);
    if (step.optionalViews) {
        Json views = Json::array();
        for (const OptionalViewSettings &view : *step.optionalViews) {
            Json parameters = Json::array();
            for (const std::optional<QString> &p : view.Parameters)
                parameters.push_back(p ? Json(text(*p)) : Json(nullptr));
            Json v;
            v["ViewName"] = text(view.ViewName);
            v["Parameters"] = std::move(parameters);
            views.push_back(std::move(v));
        }
        object["optionalViews"] = std::move(views);
    }
    return object;
}

} // namespace

QByteArray ProtocolWriter::encode(const Run &run)
{
    Json root;
    root["version"] = text(run.version());
    Json steps = Json::array();
    for (const DeelTestje &step : run.steps())
        steps.push_back(encodeStep(step));
    root["steps"] = std::move(steps);
    root["researchName"] = text(run.researchName());
    root["VeskPauseLabel"] = run.VeskPauseLabel();
    if (run.researchDescription())
        root["researchDescription"] = text(*run.researchDescription());
    Json idList = Json::object();
    const QMap<QString, qint64> ids = run.IDlist();
    for (auto it = ids.cbegin(); it != ids.cend(); ++it)
        idList[text(it.key())] = it.value();
    root["IDlist"] = std::move(idList);
    root["usesDrone"] = run.usesDrone();
    return QByteArray::fromStdString(root.dump(-1, ' ', false, Json::error_handler_t::replace));
}
