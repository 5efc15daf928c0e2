#include "IntervalButtons.h"

#include "TForm1.h"

const TIntervalButton kIntervalButtons[6] = {
    {&TForm1::RadioButton3, "3", IntervalButton::RadioButton3},
    {&TForm1::RadioButton4, "4", IntervalButton::RadioButton4},
    {&TForm1::RadioButton5, "5", IntervalButton::RadioButton5},
    {&TForm1::RadioButton6, "6", IntervalButton::RadioButton6},
    {&TForm1::RadioButton7, "7", IntervalButton::RadioButton7},
    {&TForm1::RadioButton1, "1", IntervalButton::RadioButton1},
};
