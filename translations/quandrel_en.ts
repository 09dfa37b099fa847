<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<!-- Quandrel's texts are English already; this file holds only the texts
     with a number in them, whose singular and plural forms differ. -->
<context>
    <name>quandrel::MainWindow</name>
    <message numerus="yes">
        <source>There are Currently %n Timer(s) running</source>
        <translation>
            <numerusform>There is Currently %n Timer running</numerusform>
            <numerusform>There are Currently %n Timers running</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Timer</name>
    <message numerus="yes">
        <source>went off on %1, %n day(s) ago</source>
        <translation>
            <numerusform>went off on %1, %n day ago</numerusform>
            <numerusform>went off on %1, %n days ago</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>quandrel::TimerKeeper</name>
    <message numerus="yes">
        <source>%n timer(s) of the last run brought back</source>
        <translation>
            <numerusform>%n timer of the last run brought back</numerusform>
            <numerusform>%n timers of the last run brought back</numerusform>
        </translation>
    </message>
</context>
</TS>
