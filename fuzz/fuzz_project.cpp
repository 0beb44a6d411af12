// A project file (.mak) as the IDE opens it, then the make script and the
// version-6 file written from what was read.
#include "fakes.h"
#include "make_script.h"
#include "project_file.h"

using namespace prj;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    test::FakeFileSystem fs;
    test::FakeClock clock;
    test::FakeSettings settings;
    test::RecordingMessages messages;
    test::FakeIde ide;
    ProjectEnv env{fs, clock, settings, messages, ide};
    const std::string path = "C:\\PROJ\\FUZZ.MAK";
    std::vector<uint8_t> bytes(data, data + size);
    fs.Add(path, bytes);
    fs.Add("C:\\PROJ\\MAIN.BAS");
    PrjImage image;
    ParsePrjImage(bytes, image);
    ProjectData doc(settings);
    if (ReadProjectFile(doc, bytes, path, env)) {
        WriteMakeScript(doc, env);
        WriteProjectFile(doc, path, env);
    }
    return 0;
}
