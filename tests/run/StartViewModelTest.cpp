#include "run/RunFixture.h"

#include "model/ProtocolLibrary.h"
#include "model/ProtocolWriter.h"
#include "run/ContentViewModel.h"
#include "run/StartViewModel.h"

namespace {

class StartAction : public RunFixture
{
protected:
    void addProtocol(const QString &file, const QString &name, bool usesDrone)
    {
        ::Run run;
        run.setVersion("1");
        run.setResearchName(name);
        run.setUsesDrone(usesDrone);
        run.setSteps({step(1, "a", 5)});
        documents.write("Research_protocols/" + file, ProtocolWriter::encode(run));
    }

    ProtocolLibrary library{protocol};
    ContentViewModel content{controller, session, library};
    StartViewModel start{content, library, controller, session};
};

} // namespace

TEST_F(StartAction, ChecksRunInOrder)
{
    addProtocol("solo.json", "Solo", false);
    start.appeared();
    start.setPPID("12");
    EXPECT_FALSE(start.start());
    EXPECT_EQ(start.alert(), StartViewModel::Alert::NoFileSelected);
    EXPECT_EQ(start.alertTitle(), "No research selected");

    start.tapProtocol("solo.json");
    start.setPPID(" \n");
    EXPECT_FALSE(start.start());
    EXPECT_EQ(start.alert(), StartViewModel::Alert::NoPPID);
    EXPECT_EQ(start.alertMessage(), "Please enter the participant ID in order start.");

    for (const char *notNumeric : {" 12 ", "12\n", "1a", "\u0661\u0662"}) {
        start.setPPID(notNumeric);
        EXPECT_FALSE(start.start());
        EXPECT_EQ(start.alert(), StartViewModel::Alert::PPIDNotNumeric) << notNumeric;
    }
    EXPECT_EQ(start.alertTitle(), "Participant ID has non-numbers");

    documents.write("Research_protocols/solo.json", "{broken");
    start.setPPID("12");
    EXPECT_FALSE(start.start());
    EXPECT_EQ(start.alert(), StartViewModel::Alert::RunLoadError);
    EXPECT_FALSE(controller.running());
    EXPECT_TRUE(logLines().isEmpty()) << "a refused start writes nothing";

    addProtocol("solo.json", "Solo", false);
    start.dismissAlert();
    EXPECT_TRUE(start.start());
    EXPECT_FALSE(content.isPPidUnknown());
    EXPECT_TRUE(controller.running());
    EXPECT_EQ(controller.PPID(), "12");
    EXPECT_EQ(controller.runTimestamp(), "20261205_100000");
}

TEST_F(StartAction, DroneCheckComesAfterTheProtocolIsTaken)
{
    addProtocol("drone.json", "Needs drone", true);
    start.appeared();
    start.tapProtocol("drone.json");
    EXPECT_TRUE(start.selectedRunUsesDrone());
    EXPECT_EQ(start.droneInfoText(), "Drone device name: No device found");
    EXPECT_EQ(start.droneButtonText(), "Find drone");
    start.setPPID("7");
    EXPECT_FALSE(start.start());
    EXPECT_EQ(start.alert(), StartViewModel::Alert::DroneRequired);
    EXPECT_EQ(start.alertTitle(), "Drone required");
    EXPECT_TRUE(start.alertMessage().startsWith("Please connect to a  drone in order to run."));
    EXPECT_EQ(protocol.currentProtocol()->researchName(), "Needs drone");
    EXPECT_FALSE(controller.running());
}

TEST_F(StartAction, SelectionShowsTheProtocolsFacts)
{
    addProtocol("solo.json", "Solo", false);
    documents.write("Research_protocols/bad.json", "[]");
    start.appeared();
    EXPECT_EQ(start.settingsFromFileText(), "Settings from file no file selected");
    start.tapProtocol("solo.json");
    EXPECT_EQ(start.settingsFromFileText(), "Settings from file solo.json");
    EXPECT_EQ(start.descriptionText(), "No description");
    EXPECT_EQ(start.droneInfoText(), "Protocol doesn't use a drone");
    start.tapProtocol("bad.json");
    EXPECT_EQ(start.descriptionText(), "Could not decode the json file");
}

TEST_F(StartAction, DeleteAsksFirstAndClearsTheSelection)
{
    addProtocol("solo.json", "Solo", false);
    start.appeared();
    start.tapProtocol("solo.json");
    start.requestDelete("solo.json");
    EXPECT_EQ(start.alert(), StartViewModel::Alert::DeleteConfirmation);
    EXPECT_EQ(start.alertMessage(), "Are you sure you want to delete 'solo.json'? This action cannot be undone.");
    EXPECT_TRUE(documents.exists("Research_protocols/solo.json"));
    start.confirmDelete();
    EXPECT_FALSE(documents.exists("Research_protocols/solo.json"));
    EXPECT_EQ(start.selectedFileName(), "");
    EXPECT_TRUE(start.configFiles().isEmpty());
}

TEST_F(StartAction, EditModeOpensTheEditorAndNewProtocolToo)
{
    addProtocol("solo.json", "Solo", false);
    start.appeared();
    start.setRunsEditModeActive(true);
    start.tapProtocol("solo.json");
    EXPECT_TRUE(content.isTestEditing());
    EXPECT_FALSE(start.runsEditModeActive());
    EXPECT_EQ(content.currentEditingFileName(), "solo.json");
    EXPECT_EQ(protocol.currentProtocol()->researchName(), "Solo");

    content.setIsTestEditing(false);
    start.newProtocol();
    EXPECT_TRUE(content.isTestEditing());
    EXPECT_EQ(content.currentEditingFileName(), "");
    EXPECT_EQ(protocol.currentProtocol()->researchName(), "New research");
}

TEST_F(StartAction, StoppedRunReturnsToAnEmptyStartScreen)
{
    addProtocol("solo.json", "Solo", false);
    start.appeared();
    start.tapProtocol("solo.json");
    start.setPPID("3");
    ASSERT_TRUE(start.start());
    controller.togglePause();
    controller.stopRun();
    EXPECT_TRUE(content.isPPidUnknown());
    EXPECT_FALSE(content.isTestEditing());
    EXPECT_EQ(start.selectedFileName(), "");
    EXPECT_FALSE(controller.shouldReturnToHome());
}
