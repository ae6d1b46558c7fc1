<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>CalibRecord</name>
    <message numerus="yes">
        <source>intact: %n entries</source>
        <translation>
            <numerusform>intact: %n entry</numerusform>
            <numerusform>intact: %n entries</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Calibration</name>
    <message numerus="yes">
        <source>due in %n days</source>
        <translation>
            <numerusform>due in %n day</numerusform>
            <numerusform>due in %n days</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>HistoryWindow</name>
    <message numerus="yes">
        <source>expired %n days ago</source>
        <translation>
            <numerusform>expired %n day ago</numerusform>
            <numerusform>expired %n days ago</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ToolText</name>
    <message numerus="yes">
        <source>expired %n days ago</source>
        <translation>
            <numerusform>expired %n day ago</numerusform>
            <numerusform>expired %n days ago</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>due in %n days</source>
        <translation>
            <numerusform>due in %n day</numerusform>
            <numerusform>due in %n days</numerusform>
        </translation>
    </message>
</context>
</TS>
