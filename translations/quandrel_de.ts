<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>CommandLine</name>
    <message>
        <source>Start again the timer set up as the Nth of --recent (1: the last).</source>
        <translation>Den N-ten Timer aus --recent noch einmal starten (1: den letzten).</translation>
    </message>
    <message>
        <source>List the timers set up last, newest first.</source>
        <translation>Die zuletzt gestarteten Timer auflisten, den neuesten zuerst.</translation>
    </message>
    <message>
        <source>--again: '%1' is not a number from 1 to %2.</source>
        <translation>--again: „%1“ ist keine Zahl von 1 bis %2.</translation>
    </message>
    <message>
        <source>--again starts a timer of its own: it goes without --count-down, --count-up, --alarm and --stopwatch.</source>
        <translation>--again startet selbst einen Timer: es geht ohne --count-down, --count-up, --alarm und --stopwatch.</translation>
    </message>
    <message>
        <source>The alert sound comes again, with a pause, until stopped (10 minutes at most).</source>
        <translation>Der Alarmton kommt nach einer Pause wieder, bis er gestoppt wird (höchstens 10 Minuten).</translation>
    </message>
    <message>
        <source>Keep Quandrel's item in the tray also while no timer runs.</source>
        <translation>Quandrels Symbol im Infobereich auch dann zeigen, wenn kein Timer läuft.</translation>
    </message>
    <message>
        <source>Quandrel: up to six timers, alarm clocks and stopwatches at once. With Quandrel running, a second start hands it its options.</source>
        <translation>Quandrel: bis zu sechs Timer, Wecker und Stoppuhren gleichzeitig. Läuft Quandrel schon, übergibt ein zweiter Start ihm seine Optionen.</translation>
    </message>
    <message>
        <source>duration</source>
        <translation>Dauer</translation>
    </message>
    <message>
        <source>time</source>
        <translation>Uhrzeit</translation>
    </message>
    <message>
        <source>text</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>name|file</source>
        <translation>Name|Datei</translation>
    </message>
    <message>
        <source>Unexpected argument &apos;%1&apos;.</source>
        <translation>Unerwartetes Argument „%1“.</translation>
    </message>
    <message>
        <source>--alarm: &apos;%1&apos; is not a time of day (HH:MM or HH:MM:SS).</source>
        <translation>--alarm: „%1“ ist keine Uhrzeit (HH:MM oder HH:MM:SS).</translation>
    </message>
    <message>
        <source>--%1: &apos;%2&apos; is not a duration (H:MM:SS, MM:SS, or 90s, 25m, 1h30m; up to 23:59:59).</source>
        <translation>--%1: „%2“ ist keine Dauer (H:MM:SS, MM:SS oder 90s, 25m, 1h30m; bis 23:59:59).</translation>
    </message>
    <message>
        <source>Choose one of --count-down, --count-up, --alarm and --stopwatch.</source>
        <translation>Bitte nur eines von --count-down, --count-up, --alarm und --stopwatch wählen.</translation>
    </message>
    <message>
        <source>--%1 needs a timer to start: --count-down, --count-up, --alarm or --stopwatch.</source>
        <translation>--%1 braucht einen Timer zum Starten: --count-down, --count-up, --alarm oder --stopwatch.</translation>
    </message>
    <message>
        <source>--auto-restart is for --count-down and --count-up.</source>
        <translation>--auto-restart gilt für --count-down und --count-up.</translation>
    </message>
    <message>
        <source>Started timer %1.</source>
        <translation>Timer %1 gestartet.</translation>
    </message>
    <message>
        <source>Start a count-down of DURATION: H:MM:SS, MM:SS, or 90s, 25m, 1h30m (up to 23:59:59).</source>
        <translation>Einen Countdown über DAUER starten: H:MM:SS, MM:SS oder 90s, 25m, 1h30m (bis 23:59:59).</translation>
    </message>
    <message>
        <source>Start a count-up of DURATION.</source>
        <translation>Einen Aufwärtszähler über DAUER starten.</translation>
    </message>
    <message>
        <source>The count-down or count-up restarts itself.</source>
        <translation>Der Countdown oder Aufwärtszähler startet sich selbst neu.</translation>
    </message>
    <message>
        <source>Start an alarm clock for a time of day, HH:MM[:SS] (24-hour).</source>
        <translation>Einen Wecker für eine Uhrzeit stellen, HH:MM[:SS] (24 Stunden).</translation>
    </message>
    <message>
        <source>Start a stopwatch.</source>
        <translation>Eine Stoppuhr starten.</translation>
    </message>
    <message>
        <source>The timer&apos;s title.</source>
        <translation>Der Titel des Timers.</translation>
    </message>
    <message>
        <source>The alert sound: a list name such as Bleep or Biscuits, None, or a wave file.</source>
        <translation>Der Alarmton: ein Name aus der Liste wie Bleep oder Biscuits, None oder eine WAV-Datei.</translation>
    </message>
    <message>
        <source>The timer comes to the front and stays on top when it goes off.</source>
        <translation>Der Timer kommt nach vorn und bleibt im Vordergrund, wenn er abläuft.</translation>
    </message>
    <message>
        <source>Hide every timer window.</source>
        <translation>Alle Timerfenster ausblenden.</translation>
    </message>
    <message>
        <source>Show every timer window again.</source>
        <translation>Alle Timerfenster wieder zeigen.</translation>
    </message>
    <message>
        <source>Close every timer.</source>
        <translation>Alle Timer schließen.</translation>
    </message>
    <message>
        <source>List the running timers: slot, title, kind, reading.</source>
        <translation>Die laufenden Timer auflisten: Platz, Titel, Art, Anzeige.</translation>
    </message>
    <message>
        <source>There is no display to open Quandrel&apos;s windows on.</source>
        <translation>Es gibt keinen Bildschirm, auf dem sich Quandrels Fenster öffnen ließen.</translation>
    </message>
    <message>
        <source>There is no display to open Quandrel&apos;s windows on (%1 does not answer).</source>
        <translation>Es gibt keinen Bildschirm, auf dem sich Quandrels Fenster öffnen ließen (%1 antwortet nicht).</translation>
    </message>
    <message>
        <source>Quandrel cannot open its windows: %1</source>
        <translation>Quandrel kann seine Fenster nicht öffnen: %1</translation>
    </message>
    <message>
        <source>--%1: &apos;%2&apos; is no time at all; a timer needs at least 1 second.</source>
        <translation>--%1: „%2“ ist gar keine Zeit; ein Timer braucht mindestens 1 Sekunde.</translation>
    </message>
    <message>
        <source>Quandrel is not answering (no reply within %1 seconds); it will not carry out this command.</source>
        <translation>Quandrel antwortet nicht (keine Antwort binnen %1 Sekunden); dieser Befehl wird nicht ausgeführt.</translation>
    </message>
    <message>
        <source>Quandrel is not running.</source>
        <translation>Quandrel läuft nicht.</translation>
    </message>
</context>
<context>
    <name>StateFile</name>
    <message>
        <source>it is larger than %1 bytes</source>
        <translation>sie ist größer als %1 Bytes</translation>
    </message>
</context>
<context>
    <name>Timer</name>
    <message numerus="yes">
        <source>%n s ago</source>
        <translation>
            <numerusform>vor %n s</numerusform>
            <numerusform>vor %n s</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n min ago</source>
        <translation>
            <numerusform>vor %n min</numerusform>
            <numerusform>vor %n min</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n h ago</source>
        <translation>
            <numerusform>vor %n h</numerusform>
            <numerusform>vor %n h</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>went off on %1, %n day(s) ago</source>
        <translation>
            <numerusform>abgelaufen am %1, vor %n Tag</numerusform>
            <numerusform>abgelaufen am %1, vor %n Tagen</numerusform>
        </translation>
    </message>
    <message>
        <source>went off at %1, %2</source>
        <translation>abgelaufen um %1, %2</translation>
    </message>
    <message>
        <source>Timer %1</source>
        <translation>Timer %1</translation>
    </message>
    <message>
        <source>Alarm Set At: %1</source>
        <translation>Gestellt um: %1</translation>
    </message>
    <message>
        <source>Alarm Set For:</source>
        <translation>Wecker für:</translation>
    </message>
    <message>
        <source>0 elapsed</source>
        <translation>0 vergangen</translation>
    </message>
    <message>
        <source>%1 elapsed of %2 sec</source>
        <translation>%1 von %2 s vergangen</translation>
    </message>
    <message>
        <source>CountDown:</source>
        <translation>Countdown:</translation>
    </message>
    <message>
        <source>CountUp:</source>
        <translation>Aufwärts:</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Counting %1h %2m %3s</source>
        <translation>Zählt %1 h %2 min %3 s</translation>
    </message>
    <message>
        <source>Stopwatch</source>
        <translation>Stoppuhr</translation>
    </message>
</context>
<context>
    <name>TimerFile</name>
    <message>
        <source>it is not a file of Quandrel's recent timers</source>
        <translation>sie ist keine Datei der zuletzt gestarteten Timer von Quandrel</translation>
    </message>
    <message>
        <source>it holds too many</source>
        <translation>sie enthält zu viele</translation>
    </message>
    <message>
        <source>a whole number from %1 to %2</source>
        <translation>keine ganze Zahl von %1 bis %2</translation>
    </message>
    <message>
        <source>true or false</source>
        <translation>weder true noch false</translation>
    </message>
    <message>
        <source>a text</source>
        <translation>kein Text</translation>
    </message>
    <message>
        <source>an object</source>
        <translation>kein Objekt</translation>
    </message>
    <message>
        <source>"%1" is not %2</source>
        <translation>„%1“ ist %2</translation>
    </message>
    <message>
        <source>"kind" is not a kind of timer</source>
        <translation>„kind“ ist keine Timer-Art</translation>
    </message>
    <message>
        <source>it is not JSON (%1 at byte %2)</source>
        <translation>sie ist kein JSON (%1 bei Byte %2)</translation>
    </message>
    <message>
        <source>it was written by a later Quandrel (format %1)</source>
        <translation>sie stammt von einem neueren Quandrel (Format %1)</translation>
    </message>
    <message>
        <source>it is not a file of Quandrel's timers</source>
        <translation>sie ist keine Timer-Datei von Quandrel</translation>
    </message>
    <message>
        <source>two timers are in slot %1</source>
        <translation>zwei Timer belegen Platz %1</translation>
    </message>
    <message>
        <source>timer %1: %2</source>
        <translation>Timer %1: %2</translation>
    </message>
    <message>
        <source>not an object</source>
        <translation>kein Objekt</translation>
    </message>
</context>
<context>
    <name>WaveFile</name>
    <message>
        <source>its compressed samples are too long to decode</source>
        <translation>ihre komprimierten Tondaten sind zu lang zum Entpacken</translation>
    </message>
    <message>
        <source>it is not a wave file</source>
        <translation>sie ist keine WAV-Datei</translation>
    </message>
    <message>
        <source>its format is cut short</source>
        <translation>ihr Format ist abgeschnitten</translation>
    </message>
    <message>
        <source>its samples come before their format</source>
        <translation>ihre Tondaten stehen vor ihrem Format</translation>
    </message>
    <message>
        <source>it is cut short before its sound</source>
        <translation>sie endet vor ihren Tondaten</translation>
    </message>
    <message>
        <source>its format is not one a sound can have</source>
        <translation>ihr Format ist ungültig</translation>
    </message>
    <message>
        <source>it holds no sound</source>
        <translation>sie enthält keinen Ton</translation>
    </message>
    <message>
        <source>it is not there</source>
        <translation>sie ist nicht vorhanden</translation>
    </message>
    <message>
        <source>it is not a file</source>
        <translation>sie ist keine Datei</translation>
    </message>
    <message>
        <source>it cannot be read</source>
        <translation>sie ist nicht lesbar</translation>
    </message>
    <message>
        <source>its encoding needs the SDL library, which is missing</source>
        <translation>ihre Kodierung braucht die SDL-Bibliothek, die fehlt</translation>
    </message>
    <message>
        <source>its encoding is not one that can be played</source>
        <translation>ihre Kodierung lässt sich nicht abspielen</translation>
    </message>
</context>
<context>
    <name>quandrel::AlertPlayer</name>
    <message>
        <source>Sound Card Check</source>
        <translation>Soundkarte prüfen</translation>
    </message>
    <message>
        <source>Your system cannot play WAV files</source>
        <translation>Ihr System kann keine WAV-Dateien abspielen</translation>
    </message>
</context>
<context>
    <name>quandrel::MainWindow</name>
    <message>
        <source>Recent</source>
        <translation>Zuletzt</translation>
    </message>
    <message>
        <source>Launch one of the timers you launched last</source>
        <translation>Einen der zuletzt gestarteten Timer noch einmal starten</translation>
    </message>
    <message>
        <source>LaunchTimer</source>
        <translation>Timer starten</translation>
    </message>
    <message>
        <source>Launch Duration Timer/Alarm Clock Timer/Stopwatch Timer</source>
        <translation>Countdown, Wecker oder Stoppuhr starten</translation>
    </message>
    <message>
        <source>Quandrel logo</source>
        <translation>Quandrel-Logo</translation>
    </message>
    <message>
        <source>Current Time</source>
        <translation>Aktuelle Uhrzeit</translation>
    </message>
    <message>
        <source>Current Time:</source>
        <translation>Aktuelle Uhrzeit:</translation>
    </message>
    <message>
        <source>Number of timers running</source>
        <translation>Anzahl laufender Timer</translation>
    </message>
    <message>
        <source>Quandrel: six timers, alarms and stopwatches at once</source>
        <translation>Quandrel: sechs Timer, Wecker und Stoppuhren gleichzeitig</translation>
    </message>
    <message>
        <source>These sounds could not be saved to %1 and will not play: %2.</source>
        <translation>Diese Töne konnten nicht in %1 gespeichert werden und werden nicht gespielt: %2.</translation>
    </message>
    <message>
        <source>all timers are in use</source>
        <translation>alle Timer sind belegt</translation>
    </message>
    <message numerus="yes">
        <source>There are Currently %n Timer(s) running</source>
        <translation>
            <numerusform>Zurzeit läuft %n Timer</numerusform>
            <numerusform>Zurzeit laufen %n Timer</numerusform>
        </translation>
    </message>
    <message>
        <source>Set a duration of at least 1 second for the count-down or count-up.</source>
        <translation>Stellen Sie für den Countdown oder Countup eine Dauer von mindestens 1 Sekunde ein.</translation>
    </message>
</context>
<context>
    <name>quandrel::RemoteControl</name>
    <message>
        <source>There is no recent timer yet.</source>
        <translation>Es gibt noch keinen zuletzt gestarteten Timer.</translation>
    </message>
    <message>
        <source>There is no recent timer %1: there are %2.</source>
        <translation>Es gibt keinen zuletzt gestarteten Timer %1: es sind %2.</translation>
    </message>
    <message>
        <source>(expired, %1)</source>
        <translation>(abgelaufen, %1)</translation>
    </message>
    <message>
        <source>There is no timer %1.</source>
        <translation>Es gibt keinen Timer %1.</translation>
    </message>
    <message>
        <source>Say which timer to start: count-down, count-up, alarm or stopwatch.</source>
        <translation>Bitte angeben, welcher Timer starten soll: count-down, count-up, alarm oder stopwatch.</translation>
    </message>
    <message>
        <source>all timers are in use</source>
        <translation>alle Timer sind belegt</translation>
    </message>
    <message>
        <source>(paused)</source>
        <translation>(angehalten)</translation>
    </message>
    <message>
        <source>(expired)</source>
        <translation>(abgelaufen)</translation>
    </message>
    <message>
        <source>Timer %1 cannot be paused now.</source>
        <translation>Timer %1 kann jetzt nicht angehalten werden.</translation>
    </message>
    <message>
        <source>Timer %1 is not paused.</source>
        <translation>Timer %1 ist nicht angehalten.</translation>
    </message>
    <message>
        <source>Timer %1 cannot be given %2 seconds more.</source>
        <translation>Timer %1 kann keine %2 Sekunden mehr bekommen.</translation>
    </message>
    <message>
        <source>Timer %1 cannot be restarted.</source>
        <translation>Timer %1 kann nicht neu gestartet werden.</translation>
    </message>
    <message>
        <source>Unknown key &apos;%1&apos;: a timer takes kind, duration, auto-restart, alarm, title, sound, pop-on-top and repeat-alert.</source>
        <translation>Unbekannter Schlüssel „%1“: ein Timer nimmt kind, duration, auto-restart, alarm, title, sound, pop-on-top und repeat-alert.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; must be %2.</source>
        <translation>„%1“ muss %2 sein.</translation>
    </message>
    <message>
        <source>a whole number</source>
        <translation>eine ganze Zahl</translation>
    </message>
    <message>
        <source>a boolean</source>
        <translation>ein Wahrheitswert</translation>
    </message>
    <message>
        <source>a string</source>
        <translation>eine Zeichenkette</translation>
    </message>
    <message>
        <source>&apos;duration&apos; must be from 1 second to 23:59:59, in seconds.</source>
        <translation>„duration“ muss zwischen 1 Sekunde und 23:59:59 liegen, in Sekunden.</translation>
    </message>
    <message>
        <source>&apos;alarm&apos; must be a time of day from 00:00:00 to 23:59:59, in seconds after midnight.</source>
        <translation>„alarm“ muss eine Uhrzeit von 00:00:00 bis 23:59:59 sein, in Sekunden nach Mitternacht.</translation>
    </message>
    <message>
        <source>The sound &apos;%1&apos; is neither a sound of the list nor a wave file that can be played (%2).</source>
        <translation>Der Klang „%1“ ist weder ein Klang der Liste noch eine abspielbare Wave-Datei (%2).</translation>
    </message>
    <message>
        <source>Timer %1 can be given at most %2 seconds more: no timer runs longer than 23:59:59.</source>
        <translation>Timer %1 kann höchstens %2 Sekunden mehr bekommen: kein Timer läuft länger als 23:59:59.</translation>
    </message>
</context>
<context>
    <name>quandrel::SetupPanel</name>
    <message>
        <source>The upper arrow raises the value, the lower one lowers it</source>
        <translation>Der obere Pfeil erhöht den Wert, der untere verringert ihn</translation>
    </message>
    <message>
        <source>Type a number from %1 to %2; the Up arrow raises it, Down lowers it</source>
        <translation>Geben Sie eine Zahl von %1 bis %2 ein; Pfeil nach oben erhöht sie, Pfeil nach unten verringert sie</translation>
    </message>
    <message>
        <source>Type AM or PM; the Up and Down arrows change it</source>
        <translation>Geben Sie AM oder PM ein; die Pfeiltasten nach oben und unten wechseln</translation>
    </message>
    <message>
        <source>Duration Timer</source>
        <translation>Dauer-Timer</translation>
    </message>
    <message>
        <source>Count Up</source>
        <translation>Aufwärts</translation>
    </message>
    <message>
        <source>Enable Count Up Timer (for chosen duration)</source>
        <translation>Aufwärtszähler wählen (für die gewählte Dauer)</translation>
    </message>
    <message>
        <source>Count Down</source>
        <translation>Countdown</translation>
    </message>
    <message>
        <source>Enable Count Down Timer (for chosen duration)</source>
        <translation>Countdown wählen (für die gewählte Dauer)</translation>
    </message>
    <message>
        <source>Autostart</source>
        <translation>Neustart</translation>
    </message>
    <message>
        <source>Auto-restart Count Up/Down, when finished </source>
        <translation>Aufwärtszähler/Countdown nach Ablauf neu starten </translation>
    </message>
    <message>
        <source>Timer duration: hours</source>
        <translation>Timerdauer: Stunden</translation>
    </message>
    <message>
        <source>Timer duration: minutes</source>
        <translation>Timerdauer: Minuten</translation>
    </message>
    <message>
        <source>Timer duration: seconds</source>
        <translation>Timerdauer: Sekunden</translation>
    </message>
    <message>
        <source>hrs</source>
        <translation>Std</translation>
    </message>
    <message>
        <source>mins</source>
        <translation>Min</translation>
    </message>
    <message>
        <source>secs</source>
        <translation>Sek</translation>
    </message>
    <message>
        <source>Alarm Clock</source>
        <translation>Wecker</translation>
    </message>
    <message>
        <source>Activate</source>
        <translation>Aktivieren</translation>
    </message>
    <message>
        <source>Enable Alarm Clock Timer</source>
        <translation>Wecker wählen</translation>
    </message>
    <message>
        <source>Alarm time: hour</source>
        <translation>Weckzeit: Stunde</translation>
    </message>
    <message>
        <source>Alarm time: minutes</source>
        <translation>Weckzeit: Minuten</translation>
    </message>
    <message>
        <source>Alarm time: seconds</source>
        <translation>Weckzeit: Sekunden</translation>
    </message>
    <message>
        <source>Alarm time: AM/PM</source>
        <translation>Weckzeit: AM/PM</translation>
    </message>
    <message>
        <source>StopWatch</source>
        <translation>Stoppuhr</translation>
    </message>
    <message>
        <source>Enable Stopwatch Timer</source>
        <translation>Stoppuhr wählen</translation>
    </message>
    <message>
        <source>Activate StopWatch</source>
        <translation>Stoppuhr aktivieren</translation>
    </message>
    <message>
        <source>Alert Text</source>
        <translation>Alarmtext</translation>
    </message>
    <message>
        <source>Enter text to show as Timer title, and flash when Timer goes off</source>
        <translation>Text als Titel des Timers, blinkt, wenn der Timer abläuft</translation>
    </message>
    <message>
        <source>Activate Alarm Clock</source>
        <translation>Wecker aktivieren</translation>
    </message>
</context>
<context>
    <name>quandrel::SoundChoice</name>
    <message>
        <source>Repeat until stopped</source>
        <translation>Wiederholen bis gestoppt</translation>
    </message>
    <message>
        <source>The alert sound comes again, with a pause, until you stop it (10 minutes at most)</source>
        <translation>Der Alarmton kommt nach einer Pause wieder, bis Sie ihn stoppen (höchstens 10 Minuten)</translation>
    </message>
    <message>
        <source>Sound Select</source>
        <translation>Tonauswahl</translation>
    </message>
    <message>
        <source>Choose sound to play when Timer goes off</source>
        <translation>Ton wählen, der beim Ablauf des Timers spielt</translation>
    </message>
    <message>
        <source>Test sound to play when Timer goes off</source>
        <translation>Den Ton zum Ablauf des Timers probehören</translation>
    </message>
    <message>
        <source>Test Play</source>
        <translation>Probehören</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Kein Ton</translation>
    </message>
    <message>
        <source>Play File...</source>
        <translation>Datei abspielen …</translation>
    </message>
    <message>
        <source>Select a Wave File to Open</source>
        <translation>Eine WAV-Datei zum Öffnen wählen</translation>
    </message>
    <message>
        <source>Wave File (*.wav)|*.wav</source>
        <translation>WAV-Datei (*.wav)|*.wav</translation>
    </message>
    <message>
        <source>The sound file %1 cannot be played: %2. The sound stays %3.</source>
        <translation>Die Tondatei %1 kann nicht abgespielt werden: %2. Der Ton bleibt %3.</translation>
    </message>
    <message>
        <source>Stop Play</source>
        <translation>Wiedergabe stoppen</translation>
    </message>
    <message>
        <source>Stop the sound</source>
        <translation>Den Klang anhalten</translation>
    </message>
</context>
<context>
    <name>quandrel::TimerBoard</name>
    <message>
        <source>Stop alert</source>
        <translation>Alarm stoppen</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>Cycle %1 done</source>
        <translation>Zyklus %1 beendet</translation>
    </message>
    <message>
        <source>Alarm %1</source>
        <translation>Wecker %1</translation>
    </message>
    <message>
        <source>Count-down of %1 done</source>
        <translation>Countdown über %1 abgelaufen</translation>
    </message>
    <message>
        <source>Count-up of %1 done</source>
        <translation>Aufwärtszähler über %1 abgelaufen</translation>
    </message>
    <message>
        <source>%1 at %2</source>
        <translation>%1 um %2</translation>
    </message>
    <message>
        <source>Show</source>
        <translation>Zeigen</translation>
    </message>
    <message>
        <source>Close timer</source>
        <translation>Timer schließen</translation>
    </message>
    <message>
        <source>+1 min</source>
        <translation>+1 Min</translation>
    </message>
</context>
<context>
    <name>quandrel::TimerKeeper</name>
    <message>
        <source>Quandrel</source>
        <translation>Quandrel</translation>
    </message>
    <message>
        <source>It was left where it is, and timers are not kept in this run.</source>
        <translation>Sie bleibt, wo sie ist, und in diesem Lauf werden keine Timer aufbewahrt.</translation>
    </message>
    <message>
        <source>It was kept as %1.</source>
        <translation>Sie wurde als %1 aufbewahrt.</translation>
    </message>
    <message>
        <source>The timers of the last run could not be brought back: %1 cannot be read (%2). %3</source>
        <translation>Die Timer des letzten Laufs konnten nicht wiederhergestellt werden: %1 ist nicht lesbar (%2). %3</translation>
    </message>
    <message numerus="yes">
        <source>%n timer(s) of the last run brought back</source>
        <translation>
            <numerusform>%n Timer des letzten Laufs wiederhergestellt</numerusform>
            <numerusform>%n Timer des letzten Laufs wiederhergestellt</numerusform>
        </translation>
    </message>
    <message>
        <source>The running timers cannot be kept in %1 (%2): if Quandrel ends now, they are lost.</source>
        <translation>Die laufenden Timer können nicht in %1 aufbewahrt werden (%2): Endet Quandrel jetzt, gehen sie verloren.</translation>
    </message>
</context>
<context>
    <name>quandrel::TrayMenu</name>
    <message numerus="yes">
        <source>%n min</source>
        <translation>
            <numerusform>%n min</numerusform>
            <numerusform>%n min</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 h %2 min</source>
        <translation>%1 h %2 min</translation>
    </message>
    <message>
        <source>%1: %2 left</source>
        <translation>%1: noch %2</translation>
    </message>
    <message>
        <source>%1 left</source>
        <translation>noch %1</translation>
    </message>
    <message>
        <source>gone off</source>
        <translation>abgelaufen</translation>
    </message>
    <message>
        <source>paused</source>
        <translation>angehalten</translation>
    </message>
    <message>
        <source>Show All</source>
        <translation>Alle zeigen</translation>
    </message>
    <message>
        <source>Hide All</source>
        <translation>Alle ausblenden</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
</context>
<context>
    <name>quandrel::TimerWindow</name>
    <message>
        <source>Stop alert</source>
        <translation>Alarm stoppen</translation>
    </message>
    <message>
        <source>Stop the repeating alert sound</source>
        <translation>Den wiederholten Alarmton stoppen</translation>
    </message>
    <message>
        <source>Cycles: %1</source>
        <translation>Zyklen: %1</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Timer reading</source>
        <translation>Timeranzeige</translation>
    </message>
    <message>
        <source>Enter/Amend Timer title</source>
        <translation>Titel des Timers eingeben/ändern</translation>
    </message>
    <message>
        <source>Timer title</source>
        <translation>Titel des Timers</translation>
    </message>
    <message>
        <source>Paused</source>
        <translation>Angehalten</translation>
    </message>
    <message>
        <source>Start/Stop Stopwatch</source>
        <translation>Stoppuhr starten/anhalten</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Zurücksetzen</translation>
    </message>
    <message>
        <source>Reset Stopwatch</source>
        <translation>Stoppuhr zurücksetzen</translation>
    </message>
    <message>
        <source>Cycles completed</source>
        <translation>Abgeschlossene Zyklen</translation>
    </message>
    <message>
        <source>Auto-restart</source>
        <translation>Neustart</translation>
    </message>
    <message>
        <source>Alert sound</source>
        <translation>Alarmton</translation>
    </message>
    <message>
        <source>Current Time: %1</source>
        <translation>Uhrzeit: %1</translation>
    </message>
    <message>
        <source>could not be played</source>
        <translation>konnte nicht abgespielt werden</translation>
    </message>
    <message>
        <source>%1 could not be played; a built-in sound played instead.</source>
        <translation>%1 konnte nicht abgespielt werden; ein eingebauter Ton spielte stattdessen.</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Anhalten</translation>
    </message>
    <message>
        <source>Resume</source>
        <translation>Fortsetzen</translation>
    </message>
    <message>
        <source>+1 min</source>
        <translation>+1 Min</translation>
    </message>
    <message>
        <source>+5 min</source>
        <translation>+5 Min</translation>
    </message>
    <message>
        <source>Restart</source>
        <translation>Neu starten</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <source>       EXPIRED!</source>
        <translation>       ABGELAUFEN!</translation>
    </message>
    <message>
        <source>Y</source>
        <translation>J</translation>
    </message>
    <message>
        <source>N</source>
        <translation>N</translation>
    </message>
    <message>
        <source>N/A</source>
        <translation>k. A.</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Kein Ton</translation>
    </message>
</context>
<context>
    <name>quandrel::WindowCommands</name>
    <message>
        <source>Global</source>
        <translation>Alle</translation>
    </message>
    <message>
        <source>Hide All</source>
        <translation>Alle ausblenden</translation>
    </message>
    <message>
        <source>Hide all open Timers</source>
        <translation>Alle offenen Timer ausblenden</translation>
    </message>
    <message>
        <source>Close All</source>
        <translation>Alle schließen</translation>
    </message>
    <message>
        <source>Close all open Timers</source>
        <translation>Alle offenen Timer schließen</translation>
    </message>
    <message>
        <source>pop on top</source>
        <translation>nach vorn</translation>
    </message>
    <message>
        <source>Bring a timer to the front and keep it on top when it goes off</source>
        <translation>Einen ablaufenden Timer nach vorn holen und im Vordergrund halten</translation>
    </message>
    <message>
        <source>pop top</source>
        <translation>vorn</translation>
    </message>
    <message>
        <source>Show All</source>
        <translation>Alle zeigen</translation>
    </message>
    <message>
        <source>Not available on this desktop: it does not let programs bring their windows to the front. A timer that goes off unseen is announced by a notification.</source>
        <translation>Auf diesem Desktop nicht verfügbar: er lässt Programme ihre Fenster nicht nach vorn holen. Ein Timer, der ungesehen abläuft, meldet sich mit einer Benachrichtigung.</translation>
    </message>
    <message>
        <source>Show all hidden Timers</source>
        <translation>Alle versteckten Timer zeigen</translation>
    </message>
</context>
</TS>
