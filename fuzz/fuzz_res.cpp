// A compiled resource file as the form designer loads it after the RC run:
// the layout probes, the entry readers and the document built from them.
#include "dsg_resread.h"
#include "fake_host.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    dsg::test::FakeHost host;
    dsg::Document doc;
    dsg::RcLoadCompiled(host, doc, std::vector<uint8_t>(data, data + size), "C:\\w\\app.rc", "C:\\w");
    return 0;
}
