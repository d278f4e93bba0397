// The charts as drawn: the exact order of drawing operations of two charts,
// written down by a recording surface.
#include "test_chartwindow.h"

#include "charts/draw.h"
#include "tests/charts/recording.h"
#include "tests/rating/fixture.h"

namespace {

// Short phrases keep the expected logs readable.
charts::ChartTexts shortTexts()
{
    charts::ChartTexts t;
    t.SzHoteljesitmeny = "Q";
    t.SzHocserelo = "hx";
    t.SzTerfaramK = "Vk";
    t.SzTerfaramS = "Vs";
    t.SzBelhomK = "tk";
    t.SzBelhomS = "ts";
    t.LbKopeny = "J";
    t.LbSpiral = "C";
    t.LbTerfaramK = "V";
    t.LbBelhomK = "in";
    t.LbKilhomK = "out";
    t.LbNyomasesesK = "dp";
    t.CbTipus = "VT/R-0";
    t.CbMVk = "m3/h";
    t.CbMVs = "m3/h";
    return t;
}

QStringList lines(const char *text) { return QString::fromUtf8(text).split('\n', Qt::SkipEmptyParts); }

// Jacket-flow chart, 480 x 320, entered flow 0 (the run fails its check, so
// the pressure drops stay at zero), 3 branches of 2 units.
const char *const kFlowChart = R"(pen black
font black
rect 0,0 480,320
pen gray
width 1
line 60,40 60,205
line 60,200 360,200
font red
text 48,14 'kW'
text 48,1 'Q'
font black
text 234,8 'Vk'
text 372,14 '°C'
text 417,14 'kPa'
font red
text 17,194 '  0.00'
font black
pen gray
width 1
line 60,200 55,200
line 60,200 360,200
text 367,194 '20.00'
text 417,194 '0.0'
font red
text 17,171 '  0.01'
font black
pen gray
width 1
line 60,177 55,177
line 60,177 360,177
text 367,171 '20.01'
text 417,171 '0.1'
font red
text 17,148 '  0.02'
font black
pen gray
width 1
line 60,154 55,154
line 60,154 360,154
text 367,148 '20.02'
text 417,148 '0.2'
font red
text 17,125 '  0.03'
font black
pen gray
width 1
line 60,131 55,131
line 60,131 360,131
text 367,125 '20.03'
text 417,125 '0.3'
font red
text 17,102 '  0.04'
font black
pen gray
width 1
line 60,108 55,108
line 60,108 360,108
text 367,102 '20.04'
text 417,102 '0.4'
font red
text 17,79 '  0.05'
font black
pen gray
width 1
line 60,85 55,85
line 60,85 360,85
text 367,79 '20.05'
text 417,79 '0.5'
font red
text 17,56 '  0.06'
font black
pen gray
width 1
line 60,62 55,62
line 60,62 360,62
text 367,56 '20.06'
text 417,56 '0.6'
font red
text 17,34 '  0.07'
font black
pen gray
width 1
line 60,40 55,40
line 60,40 360,40
text 367,34 '20.07'
text 417,34 '0.7'
pen gray
width 1
font black
text 360,226 ' m3/h'
line 60,200 60,205
text 54,205 '0.000'
pen black
line 59,40 59,200
clip 0,21 480x222
pen red
width 2
line 60,199 360,45
pen green
line 60,200 360,199
pen blue
line 60,199 360,66
pen orange
line 60,200 360,199
clip off
pen gray
width 1
line 360,200 360,40
line 360,200 360,205
text 354,205 '0.001'
pen gray
font black
text 234,305 'dp'
line 0,303 480,303
text 231,290 'out'
line 0,288 480,288
text 234,275 'in'
line 0,273 480,273
text 237,260 'V'
line 0,258 480,258
line 160,258 160,320
line 320,258 320,320
line 100,258 100,243
line 380,258 380,243
text 16,245 'J'
text 458,245 'C'
text 117,245 ' 3 paralel x  2 serial =    6db VT/R-0 hx'
width 2
line 0,243 480,243
pen green
line 16,296 116,296
pen blue
line 362,296 462,296
pen orange
line 16,312 116,312
text 2,260 '        0.00 -         0.00 m3/h'
text 360,260 '        1.00 m3/h'
text 2,275 '       80.00 °C'
text 372,275 '       20.00 °C'
text 360,305 '        0.000 kPa'
)";

// Coil-inlet chart, 480 x 320, coil inlet 0 °C: three points around 0.
const char *const kTemperatureChart = R"(pen black
font black
rect 0,0 480,320
pen gray
width 1
line 60,40 60,205
line 60,200 420,200
font red
text 48,14 'kW'
text 48,1 'Q'
font black
text 234,8 'ts'
text 432,14 '°C'
font red
text 17,194 '60.958'
font black
pen gray
width 1
line 60,200 55,200
line 60,200 420,200
text 427,194 ' 50'
font red
text 17,154 '60.959'
font black
pen gray
width 1
line 60,160 55,160
line 60,160 420,160
text 427,154 ' 60'
font red
text 17,114 '60.960'
font black
pen gray
width 1
line 60,120 55,120
line 60,120 420,120
text 427,114 ' 70'
font red
text 17,74 '60.961'
font black
pen gray
width 1
line 60,80 55,80
line 60,80 420,80
text 427,74 ' 80'
font red
text 17,34 '60.962'
font black
pen gray
width 1
line 60,40 55,40
line 60,40 420,40
text 427,34 ' 90'
pen gray
width 1
font black
text 420,226 '°C'
line 60,200 60,205
text 54,205 '-0.001'
pen black
line 240,40 240,200
clip 0,21 480x222
pen red
width 2
line 60,131 240,160
pen green
line 60,110 240,110
pen blue
line 60,189 240,189
clip off
pen gray
width 1
line 240,200 240,205
text 234,205 '0.000'
clip 0,21 480x222
pen red
width 2
line 240,160 420,188
pen green
line 240,110 420,110
pen blue
line 240,189 420,189
clip off
pen gray
width 1
line 420,200 420,40
line 420,200 420,205
text 414,205 '0.001'
pen gray
font black
text 234,305 'dp'
line 0,303 480,303
text 231,290 'out'
line 0,288 480,288
text 234,275 'in'
line 0,273 480,273
text 237,260 'V'
line 0,258 480,258
line 160,258 160,320
line 320,258 320,320
line 100,258 100,243
line 380,258 380,243
text 16,245 'J'
text 458,245 'C'
text 192,245 '   1db VT/R-0 hx'
width 2
line 0,243 480,243
pen green
line 16,296 116,296
pen blue
line 362,296 462,296
text 2,260 '        7.00 m3/h'
text 360,260 '        1.00 m3/h'
text 2,275 '       80.00 °C'
text 336,275 '           0 -   0 °C'
text 2,305 '       98.000 kPa'
text 360,305 '      155.218 kPa'
)";

} // namespace

void TestChartWindow::drawingOrder_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("jacket flow, entered 0, 3 x 2 units") << 1 << lines(kFlowChart);
    QTest::newRow("coil inlet 0 °C") << 4 << lines(kTemperatureChart);
}
void TestChartWindow::drawingOrder()
{
    QFETCH(int, kind);
    QFETCH(QStringList, expected);
    rating::Model m = defaultModel();
    if (kind == 1) {
        m.MVk = 0;
        m.Soros = 2;
        m.Parh = 3;
    } else {
        m.tsb = 0;
    }
    m.Szamitas();
    RecordingSurface s;
    QCOMPARE(s.penWidth(), 1); // the first chart clears with a 1-pixel frame
    charts::drawChart(s, kind, 480, 320, m, shortTexts());
    QCOMPARE(s.log, expected);
    QCOMPARE(s.penWidth(), 2); // and leaves 2 for the next one
    if (kind == 4) QCOMPARE(m.tsb, 0.0); // the swept inlet is put back
}
