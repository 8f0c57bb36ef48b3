// The texts of the About menu and box.
#pragma once

// The family's item under the host's About menu, and its submenu group.
constexpr const char* kFamilyAboutText = "About tovi plug-ins";
constexpr const char* kFamilyAboutGroup = "AboutTOVIPlugIns";

constexpr const char* kAboutBoxTitle = "About Pelvaro";
// The host's about box reads the two characters backslash and n as line breaks.
constexpr const char* kAboutBoxText =
    "Pelvaro 0.1b\\n"
    "www.tovi-plugins.example\\n"
    "Copyright (c) 2026 tovi plug-ins\\n\\n";
