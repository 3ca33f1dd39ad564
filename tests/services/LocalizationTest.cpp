#include <gtest/gtest.h>

#include "platform/velgen/Messages.h"
#include "services/CallBackManager.h"
#include "services/Localization.h"
#include "support/TestSupport.h"

using namespace QuillonCore;

TEST(Localization, CatalogueTextsAndUnknownKeys) {
    EXPECT_EQ(GetLocalizedUTF8String("ERROR IN FILE FORMAT", ""), "ERROR IN FILE FORMAT");
    EXPECT_EQ(GetLocalizedUTF8String("quillon.test.greeting", ""), "Hello from the catalogue");
    EXPECT_EQ(GetLocalizedUni16String("quillon.test.greeting", "QuillonLib"), u"Hello from the catalogue");
    EXPECT_EQ(GetLocalizedUTF8String("no such key", ""), "no such key");
}

TEST(Localization, ADisabledDomainGivesTheKey) {
    DisableLocalization("QuillonTestDomain");
    EXPECT_EQ(GetLocalizedUni16String("quillon.test.greeting", "QuillonTestDomain"), u"quillon.test.greeting");
}

TEST(Localization, TheConvertorGivesTheReaderTexts) {
    LocalizationInitialize();
    LocalizationInitialize();  // idempotent
    QuillonTest::MessageRecorder recorder;
    for (int id : {100, 101, 102, 103, 7})
        VelGen::message(VelGen::kSeverityError, VelGen::kVolatilityTransient, id);
    ASSERT_EQ(recorder.said().size(), 5u);
    EXPECT_EQ(recorder.said()[0].text, "CANNOT READ TIFF FILE");
    EXPECT_EQ(recorder.said()[1].text, "OUT OF MEMORY");
    EXPECT_EQ(recorder.said()[2].text, "ERROR IN FILE FORMAT");
    EXPECT_EQ(recorder.said()[3].text, recorder.said()[2].text);
    EXPECT_EQ(recorder.said()[4].text, "Unknown error");
    EXPECT_EQ(recorder.said()[0].severity, VelGen::kSeverityError);
}

TEST(CallBackManager, LookupBySignature) {
    auto& manager = CallBackManager::Instance();
    EXPECT_FALSE(manager.Get<void(int*)>("texparful"));
    int calls = 0;
    manager.Register<int(int)>("twice", [&](int v) {
        ++calls;
        return 2 * v;
    });
    EXPECT_FALSE(manager.Get<void(int)>("twice")) << "another signature gives an empty callable";
    auto fn = manager.Get<int(int)>("twice");
    ASSERT_TRUE(fn);
    EXPECT_EQ(fn(4), 8);
    manager.Register<int(int)>("twice", [](int v) { return v; });
    EXPECT_EQ(manager.Get<int(int)>("twice")(4), 4);
    manager.Unregister("twice");
    EXPECT_FALSE(manager.Get<int(int)>("twice"));
}
