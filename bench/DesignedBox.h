// A FileNameBox set up the way a window's design data sets one up, over whichever system
// services the benchmark measures, with the test backend's host and inner box (both in memory,
// so that they add next to nothing to what is measured).
#pragma once

#include "filenamebox/FileNameBox.h"
#include "platform/PropertyBag.h"
#include "tests/fakes/FakeHost.h"
#include "tests/fakes/FakeTextBox.h"

#include <string>

namespace relingo::bench {

class DesignedBox {
public:
    // Fault boxes are switched off: a benchmark must never stop for one. They cost nothing on
    // the way of a name that passes.
    DesignedBox(SystemServices& system, int32_t mode, const std::u16string& text)
        : box_(system, host_, textBox_) {
        box_.ReadProperties(
            PropertyBag::Load("Mode = " + std::to_string(mode) + "&\nMessageShow = False\n"));
        box_.SetText(text);
    }
    DesignedBox(const DesignedBox&) = delete;
    DesignedBox& operator=(const DesignedBox&) = delete;

    FileNameBox& Box() { return box_; }

private:
    test::FakeHost host_;
    test::FakeTextBox textBox_;
    FileNameBox box_;
};

} // namespace relingo::bench
