<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AppDelegate</name>
    <message>
        <source>Could not save changes while quitting. Quit anyway?</source>
        <comment>Quit without saves error question message</comment>
        <translation>Die Änderungen konnten beim Beenden nicht gesichert werden. Trotzdem beenden?</translation>
    </message>
    <message>
        <source>Quitting now will lose any changes you have made since the last successful save</source>
        <comment>Quit without saves error question info</comment>
        <translation>Wenn Sie jetzt beenden, gehen alle Änderungen seit dem letzten erfolgreichen Sichern verloren</translation>
    </message>
    <message>
        <source>Quit anyway</source>
        <comment>Quit anyway button title</comment>
        <translation>Trotzdem beenden</translation>
    </message>
    <message>
        <source>Cancel</source>
        <comment>Cancel button title</comment>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>There is no alert %1</source>
        <translation>Es gibt keinen Alarm %1</translation>
    </message>
    <message>
        <source>Write &gt; 11000 or &lt; 9500 for a level, +5% 1h or -5% 1h for a move; %1 is not one</source>
        <translation>Schreiben Sie &gt; 11000 oder &lt; 9500 für eine Schwelle, +5% 1h oder -5% 1h für eine Bewegung; %1 ist keins davon</translation>
    </message>
    <message>
        <source>%1 is not a number</source>
        <translation>%1 ist keine Zahl</translation>
    </message>
    <message>
        <source>Give the move a window from 5m to 24h, as in +5% 1h</source>
        <translation>Geben Sie der Bewegung ein Zeitfenster von 5m bis 24h, etwa +5% 1h</translation>
    </message>
    <message>
        <source>A move&apos;s window is from 5 min to 24 h, not %1</source>
        <translation>Das Zeitfenster einer Bewegung liegt zwischen 5 min und 24 h, nicht %1</translation>
    </message>
    <message>
        <source>A level is a price greater than 0, not %1</source>
        <translation>Eine Schwelle ist ein Preis größer als 0, nicht %1</translation>
    </message>
    <message>
        <source>A move up is more than 0 % and at most 1000 %, not %1</source>
        <translation>Eine Bewegung nach oben ist größer als 0 % und höchstens 1000 %, nicht %1</translation>
    </message>
    <message>
        <source>A move down is more than 0 % and less than 100 %, not %1</source>
        <translation>Eine Bewegung nach unten ist größer als 0 % und kleiner als 100 %, nicht %1</translation>
    </message>
    <message>
        <source>Write the exchange, the pair and the alert, as in: Kraken XBT/USD &gt; 11000</source>
        <translation>Schreiben Sie die Börse, das Paar und den Alarm, etwa: Kraken XBT/USD &gt; 11000</translation>
    </message>
    <message>
        <source>%1 is not one of the exchanges Wex, Bitfinex, Kraken, Bitstamp, OKCoin, Poloniex, CoinFloor and GDAX</source>
        <translation>%1 ist keine der Börsen Wex, Bitfinex, Kraken, Bitstamp, OKCoin, Poloniex, CoinFloor und GDAX</translation>
    </message>
    <message>
        <source>%1 above %2</source>
        <translation>%1 über %2</translation>
    </message>
    <message>
        <source>%1 below %2</source>
        <translation>%1 unter %2</translation>
    </message>
    <message>
        <source>%1 up %2 % in %3</source>
        <translation>%1 um %2 % gestiegen in %3</translation>
    </message>
    <message>
        <source>%1 down %2 % in %3</source>
        <translation>%1 um %2 % gefallen in %3</translation>
    </message>
    <message>
        <source>%1: %2 at %3</source>
        <translation>%1: %2 um %3</translation>
    </message>
    <message>
        <source>%1 is above %2 already: the alert fires when it has fallen to %3 and rises past %2 again</source>
        <translation>%1 liegt schon über %2: der Alarm schlägt an, wenn der Kurs auf %3 gefallen ist und wieder über %2 steigt</translation>
    </message>
    <message>
        <source>%1 is below %2 already: the alert fires when it has risen to %3 and falls past %2 again</source>
        <translation>%1 liegt schon unter %2: der Alarm schlägt an, wenn der Kurs auf %3 gestiegen ist und wieder unter %2 fällt</translation>
    </message>
    <message>
        <source>%1 has moved %2 % within the window already: the alert fires when the move has shrunk to %3 % and reaches %2 % again</source>
        <translation>%1 hat sich im Zeitfenster schon um %2 % bewegt: der Alarm schlägt an, wenn die Bewegung auf %3 % geschrumpft ist und wieder %2 % erreicht</translation>
    </message>
    <message>
        <source>not seen yet</source>
        <translation>noch nicht gesehen</translation>
    </message>
    <message>
        <source>armed</source>
        <translation>scharf</translation>
    </message>
    <message>
        <source>past its level, arms again at %1</source>
        <translation>jenseits der Schwelle, wieder scharf bei %1</translation>
    </message>
    <message>
        <source>fired once, spent</source>
        <translation>einmal angeschlagen, erledigt</translation>
    </message>
    <message>
        <source>%1 % in %2</source>
        <translation>%1 % in %2</translation>
    </message>
    <message>
        <source>%1 h</source>
        <translation>%1 Std.</translation>
    </message>
    <message>
        <source>%1 min</source>
        <translation>%1 Min.</translation>
    </message>
    <message>
        <source>Again at +1 %</source>
        <translation>Erneut bei +1 %</translation>
    </message>
    <message>
        <source>Again at −1 %</source>
        <translation>Erneut bei −1 %</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Alerts and the price history are not saved: %1</source>
        <translation>Alarme und Preisverlauf werden nicht gesichert: %1</translation>
    </message>
    <message>
        <source>%1 %2 has no recent price: the next price Pricora sees arms the alert, or has it wait if the price is past its level already</source>
        <translation>%1 %2 hat keinen aktuellen Preis: der nächste Preis, den Pricora sieht, macht den Alarm scharf oder lässt ihn warten, wenn der Preis schon jenseits seiner Schwelle liegt</translation>
    </message>
    <message>
        <source>%1 reads as %2 or as %3; write %2 or %3 to say which</source>
        <translation>%1 lässt sich als %2 oder als %3 lesen; schreiben Sie %2 oder %3, je nachdem, was gemeint ist</translation>
    </message>
    <message>
        <source>%1 is not how numbers are written here; write %2</source>
        <translation>%1 ist hier keine übliche Schreibweise für Zahlen; schreiben Sie %2</translation>
    </message>
    <message>
        <source>%1 · %2 ago</source>
        <translation>%1 · vor %2</translation>
    </message>
    <message>
        <source>%1 d</source>
        <translation>%1 Tg.</translation>
    </message>
    <message>
        <source>%1 %2: armed at %3</source>
        <translation>%1 %2: scharf bei %3</translation>
    </message>
    <message>
        <source>Pricora has seen no pairs of %1 yet: let it run once, then make the alert</source>
        <translation>Pricora hat noch keine Paare von %1 gesehen: lassen Sie es einmal laufen und legen Sie den Alarm dann an</translation>
    </message>
    <message>
        <source>Pricora has seen no pairs of %1 yet: let it run once, then set the holding</source>
        <translation>Pricora hat noch keine Paare von %1 gesehen: lassen Sie es einmal laufen und tragen Sie den Bestand dann ein</translation>
    </message>
    <message>
        <source>Pricora has seen no pairs of %1 yet: let it run once to record its prices</source>
        <translation>Pricora hat noch keine Paare von %1 gesehen: lassen Sie es einmal laufen, damit es ihre Kurse aufzeichnet</translation>
    </message>
    <message>
        <source>%1 has no %2</source>
        <translation>%1 hat kein %2</translation>
    </message>
    <message>
        <source>%1 has no %2; did you mean %3?</source>
        <translation>%1 hat kein %2; meinten Sie %3?</translation>
    </message>
    <message>
        <source>A holding is an amount from 0 to 10,000,000,000 with at most 8 decimals, not %1</source>
        <translation>Ein Bestand ist eine Menge von 0 bis 10.000.000.000 mit höchstens 8 Nachkommastellen, nicht %1</translation>
    </message>
    <message>
        <source>Write the exchange, the pair and the amount, as in: Kraken XBT/USD 0.25</source>
        <translation>Schreiben Sie die Börse, das Paar und die Menge, etwa: Kraken XBT/USD 0,25</translation>
    </message>
    <message>
        <source>Holding %1 %2: %3 %4</source>
        <translation>Bestand %1 %2: %3 %4</translation>
    </message>
    <message>
        <source>Holding %1: %2</source>
        <translation>Bestand %1: %2</translation>
    </message>
    <message>
        <source>%1 in %2</source>
        <translation>%1 in %2</translation>
    </message>
    <message>
        <source>Holdings: %1</source>
        <translation>Bestände: %1</translation>
    </message>
    <message>
        <source>in %1</source>
        <translation>in %1</translation>
    </message>
    <message>
        <source>Write the exchange and the pair, as in: Kraken XBT/USD</source>
        <translation>Schreiben Sie die Börse und das Paar, etwa: Kraken XBT/USD</translation>
    </message>
    <message>
        <source>above %1</source>
        <translation>über %1</translation>
    </message>
    <message>
        <source>below %1</source>
        <translation>unter %1</translation>
    </message>
    <message>
        <source>%1 on %2, last 24 hours: no prices recorded</source>
        <translation>%1 auf %2, letzte 24 Stunden: keine Kurse aufgezeichnet</translation>
    </message>
    <message>
        <source>%1 on %2, last 7 days: no prices recorded</source>
        <translation>%1 auf %2, letzte 7 Tage: keine Kurse aufgezeichnet</translation>
    </message>
    <message>
        <source>%1 on %2, last 24 hours: from %3 to %4, high %5 at %6</source>
        <translation>%1 auf %2, letzte 24 Stunden: von %3 bis %4, Hoch %5 um %6</translation>
    </message>
    <message>
        <source>%1 on %2, last 7 days: from %3 to %4, high %5 at %6</source>
        <translation>%1 auf %2, letzte 7 Tage: von %3 bis %4, Hoch %5 am %6</translation>
    </message>
</context>
<context>
    <name>BarRun</name>
    <message>
        <source>pricora: cannot write to the bar: %1</source>
        <translation>pricora: in die Leiste kann nicht geschrieben werden: %1</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>--refreshes takes a whole number of at least 0</source>
        <translation>--refreshes erwartet eine ganze Zahl ab 0</translation>
    </message>
    <message>
        <source>--dump takes a file path, or - for standard output</source>
        <translation>--dump erwartet einen Dateipfad oder - für die Standardausgabe</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>unbekannte Option %1</translation>
    </message>
    <message>
        <source>--refreshes, --timeout and --dump go with --headless</source>
        <translation>--refreshes, --timeout und --dump gibt es nur mit --headless</translation>
    </message>
    <message>
        <source>pricora: %1 %2; a second copy on this store would not be noticed</source>
        <translation>pricora: %1 %2; eine zweite Kopie auf diesem Speicher bliebe unbemerkt</translation>
    </message>
    <message>
        <source>pricora: the store in %1 is in use by another Pricora (pid %2)</source>
        <translation>pricora: der Speicher in %1 wird von einem anderen Pricora benutzt (PID %2)</translation>
    </message>
    <message>
        <source>pricora: already running (pid %1); showing its Manage window</source>
        <translation>pricora: läuft bereits (PID %1); sein Verwaltungsfenster wird gezeigt</translation>
    </message>
    <message>
        <source>pricora: no display to show the tray icon on (DISPLAY and WAYLAND_DISPLAY name none); run with --headless to use it without one</source>
        <translation>pricora: kein Bildschirm für das Symbol im Infobereich (DISPLAY und WAYLAND_DISPLAY nennen keinen); mit --headless läuft es ohne</translation>
    </message>
    <message>
        <source>pricora: the tray application cannot be loaded (%1)</source>
        <translation>pricora: die Anwendung für den Infobereich lässt sich nicht laden (%1)</translation>
    </message>
    <message>
        <source>--bar takes the bar&apos;s name: waybar, polybar or i3blocks</source>
        <translation>--bar erwartet den Namen der Leiste: waybar, polybar oder i3blocks</translation>
    </message>
    <message>
        <source>--bar runs without a display by itself; leave out --headless</source>
        <translation>--bar läuft von selbst ohne Bildschirm; --headless weglassen</translation>
    </message>
    <message>
        <source>--timeout takes a number of seconds greater than 0 and at most 2147483 (24 days)</source>
        <translation>--timeout erwartet eine Anzahl Sekunden größer als 0 und höchstens 2147483 (24 Tage)</translation>
    </message>
    <message>
        <source>pricora: already running (pid %1) but not answering; choose Manage from its tray icon&apos;s menu</source>
        <translation>pricora: läuft bereits (PID %1), antwortet aber nicht; wählen Sie „Manage“ im Menü seines Symbols im Infobereich</translation>
    </message>
    <message>
        <source>--alert takes the exchange, the pair and the alert: &apos;Kraken XBT/USD &gt; 11000&apos;</source>
        <translation>--alert erwartet die Börse, das Paar und den Alarm: &apos;Kraken XBT/USD &gt; 11000&apos;</translation>
    </message>
    <message>
        <source>--remove-alert takes an alert&apos;s number, as --alerts lists it</source>
        <translation>--remove-alert erwartet die Nummer eines Alarms, wie --alerts sie zeigt</translation>
    </message>
    <message>
        <source>--no-change goes with --bar</source>
        <translation>--no-change gibt es nur mit --bar</translation>
    </message>
    <message>
        <source>pricora: waiting for the Pricora that holds the store (pid %1)</source>
        <translation>pricora: warte auf das Pricora, das den Speicher hält (PID %1)</translation>
    </message>
    <message>
        <source>run without a display; the tray is kept in memory</source>
        <translation>ohne Bildschirm laufen; der Infobereich wird nur im Speicher gehalten</translation>
    </message>
    <message>
        <source>N</source>
        <translation>N</translation>
    </message>
    <message>
        <source>quit after N completed refreshes (0: run until the time-out)</source>
        <translation>nach N abgeschlossenen Aktualisierungen beenden (0: bis zur Zeitgrenze laufen)</translation>
    </message>
    <message>
        <source>SECONDS</source>
        <translation>SEKUNDEN</translation>
    </message>
    <message>
        <source>quit after SECONDS at the latest (default 60)</source>
        <translation>spätestens nach SEKUNDEN Sekunden beenden (Vorgabe 60)</translation>
    </message>
    <message>
        <source>PATH|-</source>
        <translation>PFAD|-</translation>
    </message>
    <message>
        <source>write the tray as JSON to PATH (or standard output) before quitting</source>
        <translation>vor dem Beenden den Infobereich als JSON nach PFAD (oder - für die Standardausgabe) schreiben</translation>
    </message>
    <message>
        <source>FORMAT</source>
        <translation>FORMAT</translation>
    </message>
    <message>
        <source>print the menu-bar prices for a text bar, one line an update, until the
bar goes away; FORMAT is waybar, polybar or i3blocks. Reads the store,
never writes it; SIGUSR1 refreshes at once</source>
        <translation>die Preise der Menüleiste für eine Textleiste ausgeben, eine Zeile je Änderung, bis
die Leiste verschwindet; FORMAT ist waybar, polybar oder i3blocks. Liest den
Speicher, schreibt ihn nie; SIGUSR1 aktualisiert sofort</translation>
    </message>
    <message>
        <source>the bar leaves out the changes over the last day (arrows, colours, classes)</source>
        <translation>die Leiste lässt die Änderungen des letzten Tages weg (Pfeile, Farben, Klassen)</translation>
    </message>
    <message>
        <source>&apos;EXCHANGE PAIR ALERT&apos;</source>
        <translation>&apos;BÖRSE PAAR ALARM&apos;</translation>
    </message>
    <message>
        <source>make an alert and exit: &apos;Kraken XBT/USD &gt; 11000&apos; (price rises past 11000),
&apos;&lt; 9500&apos; (falls past), &apos;+5% 1h&apos; or &apos;-5% 1h&apos; (moves 5 % within an hour; 5m to
24h), each optionally followed by &apos;once&apos;; a running Pricora takes it at
once, against the price it shows</source>
        <translation>einen Alarm anlegen und beenden: &apos;Kraken XBT/USD &gt; 11000&apos; (Kurs steigt über 11000),
&apos;&lt; 9500&apos; (fällt darunter), &apos;+5% 1h&apos; oder &apos;-5% 1h&apos; (bewegt sich um 5 % binnen einer
Stunde; 5m bis 24h), jeweils wahlweise mit &apos;once&apos; dahinter; ein laufendes Pricora
übernimmt ihn sofort, zum Kurs, den es zeigt</translation>
    </message>
    <message>
        <source>list the alerts, one a line: number, alert, where it stands</source>
        <translation>die Alarme zeigen, einer je Zeile: Nummer, Alarm, Stand</translation>
    </message>
    <message>
        <source>remove alert number N</source>
        <translation>den Alarm Nummer N entfernen</translation>
    </message>
    <message>
        <source>show this help and exit</source>
        <translation>diese Hilfe zeigen und beenden</translation>
    </message>
    <message>
        <source>show the version and exit</source>
        <translation>die Version zeigen und beenden</translation>
    </message>
    <message>
        <source>usage: </source>
        <translation>Aufruf: </translation>
    </message>
    <message>
        <source>
One Pricora runs per store: a second desktop start shows the running one&apos;s Manage window and
exits with 0 (1 when the running one does not answer); a second headless start names the
running one and exits with 1.

files:
  $XDG_CONFIG_HOME/Pricora/Pricora.conf
      settings: exchange addresses, launchAtStartup (~/.config by default)
  $XDG_DATA_HOME/com.apple.toolsQA.CocoaApp_CD/Mintor.storedata
      the pair store, a SQLite database (~/.local/share by default)
  $XDG_DATA_HOME/com.apple.toolsQA.CocoaApp_CD/pricora-history.sqlite
      Pricora&apos;s own SQLite database beside the store, readable by you alone: the alerts,
      the holdings, and a week of prices of the pairs you follow (favourites, price items
      and pairs with an alert or a holding)
  $XDG_DATA_HOME/com.apple.toolsQA.CocoaApp_CD/pricora.lock
      locked while Pricora runs on that store; holds its process id
  $XDG_CONFIG_HOME/autostart/example.pricora.Pricora-Helper.desktop
      written while Preferences &gt; Launch at Login is on, removed when it is off
  $XDG_RUNTIME_DIR/pricora-PID/icons
      the tray&apos;s pictures, for desktops that read icons by name; removed at quit
  RESOURCES/iconSmall.svg, RESOURCES/translations/pricora_LANGUAGE.qm
  RESOURCES/Experimental.plist
      optional: refreshFrequency, the seconds between refreshes (default 60)
      RESOURCES is $PRICORA_RESOURCES, else share/pricora beside the program&apos;s bin folder

environment:
  XDG_CONFIG_HOME, XDG_DATA_HOME        where the settings and the store live
  XDG_RUNTIME_DIR                       where the tray&apos;s pictures go (else /tmp/runtime-USER)
  PRICORA_RESOURCES                     the resources folder
  http_proxy, https_proxy, no_proxy     the proxy for the exchanges&apos; addresses
  LANGUAGE, LC_ALL, LC_MESSAGES, LANG   the language of alerts, the Manage window and messages
  DISPLAY, WAYLAND_DISPLAY, QT_QPA_PLATFORM
                                        the display the tray icon goes to (not with --headless)
  DBUS_SESSION_BUS_ADDRESS              the session bus a second start reaches the first on

See pricora(1) for more.
</source>
        <translation>
Pro Speicher läuft ein Pricora: ein zweiter Start auf dem Desktop zeigt das Verwaltungsfenster des
laufenden und endet mit 0 (mit 1, wenn das laufende nicht antwortet); ein zweiter Start mit
--headless nennt das laufende und endet mit 1.

Dateien:
  $XDG_CONFIG_HOME/Pricora/Pricora.conf
      Einstellungen: Adressen der Börsen, launchAtStartup (Vorgabe ~/.config)
  $XDG_DATA_HOME/com.apple.toolsQA.CocoaApp_CD/Mintor.storedata
      der Paarspeicher, eine SQLite-Datenbank (Vorgabe ~/.local/share)
  $XDG_DATA_HOME/com.apple.toolsQA.CocoaApp_CD/pricora-history.sqlite
      die eigene SQLite-Datenbank von Pricora neben dem Speicher, nur für Sie lesbar: die
      Alarme, die Bestände und eine Woche Preise der Paare, denen Sie folgen (Favoriten,
      Preisanzeigen und Paare mit Alarm oder Bestand)
  $XDG_DATA_HOME/com.apple.toolsQA.CocoaApp_CD/pricora.lock
      gesperrt, solange ein Pricora auf diesem Speicher läuft; enthält dessen Prozessnummer
  $XDG_CONFIG_HOME/autostart/example.pricora.Pricora-Helper.desktop
      vorhanden, solange Preferences &gt; Launch at Login eingeschaltet ist
  $XDG_RUNTIME_DIR/pricora-PID/icons
      die Bilder im Infobereich, für Desktops, die Symbole nur über den Namen lesen; beim Beenden entfernt
  RESSOURCEN/iconSmall.svg, RESSOURCEN/translations/pricora_SPRACHE.qm
  RESSOURCEN/Experimental.plist
      optional: refreshFrequency, die Sekunden zwischen zwei Aktualisierungen (Vorgabe 60)
      RESSOURCEN ist $PRICORA_RESOURCES, sonst share/pricora neben dem bin-Ordner des Programms

Umgebung:
  XDG_CONFIG_HOME, XDG_DATA_HOME        wo Einstellungen und Speicher liegen
  XDG_RUNTIME_DIR                       wohin die Bilder des Infobereichs kommen (sonst /tmp/runtime-BENUTZER)
  PRICORA_RESOURCES                     der Ressourcenordner
  http_proxy, https_proxy, no_proxy     der Proxy für die Adressen der Börsen
  LANGUAGE, LC_ALL, LC_MESSAGES, LANG   die Sprache der Hinweise, des Verwaltungsfensters und der Meldungen
  DISPLAY, WAYLAND_DISPLAY, QT_QPA_PLATFORM
                                        der Bildschirm für das Symbol im Infobereich (nicht mit --headless)
  DBUS_SESSION_BUS_ADDRESS              der Sitzungsbus, über den ein zweiter Start den ersten erreicht

Mehr in pricora(1).
</translation>
    </message>
    <message>
        <source>the bar shows the holdings&apos; worth after the prices, per quote currency</source>
        <translation>die Leiste zeigt den Wert der Bestände nach den Preisen, je Kurswährung</translation>
    </message>
    <message>
        <source>&apos;EXCHANGE PAIR AMOUNT&apos;</source>
        <translation>&apos;BÖRSE PAAR MENGE&apos;</translation>
    </message>
    <message>
        <source>keep how much you own of a pair and exit: &apos;Kraken XBT/USD 0.25&apos; (up to 8
decimals; 0 removes it); its worth shows in the tool tips</source>
        <translation>speichert, wie viel Sie von einem Paar besitzen, und endet: &apos;Kraken XBT/USD 0,25&apos; (bis zu
8 Nachkommastellen; 0 entfernt den Bestand); sein Wert steht in den Tooltips</translation>
    </message>
    <message>
        <source>--hold takes the exchange, the pair and the amount: &apos;Kraken XBT/USD 0.25&apos;</source>
        <translation>--hold erwartet die Börse, das Paar und die Menge: &apos;Kraken XBT/USD 0,25&apos;</translation>
    </message>
    <message>
        <source>list the holdings, one a line: pair, amount, and its worth at the last price
the history holds</source>
        <translation>listet die Bestände, einen pro Zeile: Paar, Menge und ihr Wert zum letzten Preis
im Verlauf</translation>
    </message>
    <message>
        <source>--hold and --holdings go alone</source>
        <translation>--hold und --holdings stehen allein</translation>
    </message>
    <message>
        <source>--bar-holdings goes with --bar</source>
        <translation>--bar-holdings gibt es nur mit --bar</translation>
    </message>
    <message>
        <source>exit status (headless): 0 after N refreshes, 2 when the time-out ended the run, 1 on a fatal error
exit status (bar): 0 when the bar closes its end or a signal ends the run, 1 on a fatal error
exit status (alerts and holdings): 0 when done, 1 when nothing was done
</source>
        <translation>Exit-Status (headless): 0 nach N Aktualisierungen, 2 wenn die Zeitgrenze den Lauf beendet hat, 1 bei einem schweren Fehler
Exit-Status (bar): 0 wenn die Leiste ihr Ende schließt oder ein Signal den Lauf beendet, 1 bei einem schweren Fehler
Exit-Status (Alarme und Bestände): 0 wenn erledigt, 1 wenn nichts getan wurde
</translation>
    </message>
    <message>
        <source>&apos;EXCHANGE PAIR&apos;</source>
        <translation>&apos;BÖRSE PAAR&apos;</translation>
    </message>
    <message>
        <source>show the price chart of a pair of the store, &apos;Kraken XBT/USD&apos;: a running
Pricora opens it; without one, Pricora starts on the desktop with it open</source>
        <translation>das Kursdiagramm eines Paars des Speichers zeigen, &apos;Kraken XBT/USD&apos;: ein
laufendes Pricora öffnet es; ohne eines startet Pricora auf dem Desktop mit ihm</translation>
    </message>
    <message>
        <source>--chart takes the exchange and the pair: &apos;Kraken XBT/USD&apos;</source>
        <translation>--chart erwartet die Börse und das Paar: &apos;Kraken XBT/USD&apos;</translation>
    </message>
    <message>
        <source>--alert, --alerts, --remove-alert and --chart go alone</source>
        <translation>--alert, --alerts, --remove-alert und --chart stehen allein</translation>
    </message>
    <message>
        <source>pricora: already running (pid %1); showing the chart of %2</source>
        <translation>pricora: läuft bereits (PID %1); das Kursdiagramm von %2 wird gezeigt</translation>
    </message>
</context>
<context>
    <name>ManageWindow</name>
    <message>
        <source>%1: favourite</source>
        <translation>%1: Favorit</translation>
    </message>
    <message>
        <source>%1: not a favourite</source>
        <translation>%1: kein Favorit</translation>
    </message>
    <message>
        <source>List %1 among the favourites</source>
        <translation>%1 unter den Favoriten aufführen</translation>
    </message>
    <message>
        <source>%1: shown in the menu bar</source>
        <translation>%1: in der Menüleiste angezeigt</translation>
    </message>
    <message>
        <source>%1: not shown in the menu bar</source>
        <translation>%1: nicht in der Menüleiste angezeigt</translation>
    </message>
    <message>
        <source>Show the price of %1 in the tray</source>
        <translation>Den Preis von %1 im Infobereich zeigen</translation>
    </message>
    <message>
        <source>Pair</source>
        <translation>Paar</translation>
    </message>
    <message>
        <source>Favourite</source>
        <translation>Favorit</translation>
    </message>
    <message>
        <source>Menu bar</source>
        <translation>Menüleiste</translation>
    </message>
    <message>
        <source>Manage Pricora</source>
        <translation>Pricora verwalten</translation>
    </message>
    <message>
        <source>Manage pairs</source>
        <translation>Paare verwalten</translation>
    </message>
    <message>
        <source>Show the pairs of %1</source>
        <translation>Die Paare von %1 zeigen</translation>
    </message>
    <message>
        <source>Pairs of the selected exchange</source>
        <translation>Paare der gewählten Börse</translation>
    </message>
    <message>
        <source>e.g. &gt; 11000</source>
        <translation>z. B. &gt; 11000</translation>
    </message>
    <message>
        <source>%1: alerts %2</source>
        <translation>%1: Alarme %2</translation>
    </message>
    <message>
        <source>Alerts for %1: &gt; 11000 or &lt; 9500 for a level, +5% 1h or -5% 1h for a move, &quot;once&quot; after one to fire it once; several separated by ;</source>
        <translation>Alarme für %1: &gt; 11000 oder &lt; 9500 für eine Schwelle, +5% 1h oder -5% 1h für eine Bewegung, &quot;once&quot; dahinter für nur einmal; mehrere durch ; getrennt</translation>
    </message>
    <message>
        <source>Alert</source>
        <translation>Alarm</translation>
    </message>
    <message>
        <source>%1: holding %2</source>
        <translation>%1: Bestand %2</translation>
    </message>
    <message>
        <source>How much of %1 you own, up to 8 decimals; its worth shows in the tray&apos;s tool tips. Empty or 0 for none</source>
        <translation>Wie viel Sie von %1 besitzen, bis zu 8 Nachkommastellen; der Wert steht in den Tooltips im Infobereich. Leer oder 0 für keinen</translation>
    </message>
    <message>
        <source>Holding</source>
        <translation>Bestand</translation>
    </message>
    <message>
        <source>e.g. 0.25</source>
        <translation>z. B. 0,25</translation>
    </message>
    <message>
        <source>Filter pairs (Ctrl+F)</source>
        <translation>Paare filtern (Strg+F)</translation>
    </message>
    <message>
        <source>Filter the pairs</source>
        <translation>Die Paare filtern</translation>
    </message>
    <message>
        <source>Show Chart…</source>
        <translation>Kursdiagramm zeigen…</translation>
    </message>
</context>
<context>
    <name>PriceChart</name>
    <message>
        <source>Value</source>
        <translation>Wert</translation>
    </message>
    <message>
        <source>high %1</source>
        <translation>Hoch %1</translation>
    </message>
    <message>
        <source>low %1</source>
        <translation>Tief %1</translation>
    </message>
    <message>
        <source>Left and Right move the read-out by one price, Home and End to the first and the last</source>
        <translation>Links und Rechts bewegen die Anzeige um einen Kurs, Pos1 und Ende zum ersten und zum letzten</translation>
    </message>
    <message>
        <source>%1 %2 – Pricora</source>
        <translation>%1 %2 – Pricora</translation>
    </message>
    <message>
        <source>&amp;24 hours</source>
        <translation>&amp;24 Stunden</translation>
    </message>
    <message>
        <source>&amp;7 days</source>
        <translation>&amp;7 Tage</translation>
    </message>
    <message>
        <source>Point at the line to read a price</source>
        <translation>Zeigen Sie auf die Linie, um einen Kurs abzulesen</translation>
    </message>
    <message>
        <source>No prices recorded in this span</source>
        <translation>Keine Kurse in diesem Zeitraum aufgezeichnet</translation>
    </message>
</context>
<context>
    <name>SniTray</name>
    <message>
        <source>pricora: cannot show a tray item on the session bus: %1</source>
        <translation>pricora: ein Symbol im Infobereich kann auf dem Sitzungsbus nicht gezeigt werden: %1</translation>
    </message>
    <message>
        <source>pricora: the tray did not take an item: %1</source>
        <translation>pricora: der Infobereich hat ein Symbol nicht angenommen: %1</translation>
    </message>
    <message>
        <source>%1; offering it again until the tray takes it</source>
        <translation>%1; es wird erneut angeboten, bis der Infobereich es annimmt</translation>
    </message>
</context>
<context>
    <name>StoreError</name>
    <message>
        <source>The folder “%1” for Pricora’s data could not be read.</source>
        <translation>Der Ordner „%1“ für die Daten von Pricora konnte nicht gelesen werden.</translation>
    </message>
    <message>
        <source>The file “%1” is not a Pricora pair store.</source>
        <translation>Die Datei „%1“ ist kein Paarspeicher von Pricora.</translation>
    </message>
    <message>
        <source>The pair store “%1” is damaged.</source>
        <translation>Der Paarspeicher „%1“ ist beschädigt.</translation>
    </message>
    <message>
        <source>The pair store “%1” could not be opened because another program is using it.</source>
        <translation>Der Paarspeicher „%1“ konnte nicht geöffnet werden, weil ein anderes Programm ihn benutzt.</translation>
    </message>
    <message>
        <source>The pair store “%1” could not be opened because its folder is read-only.</source>
        <translation>Der Paarspeicher „%1“ konnte nicht geöffnet werden, weil sein Ordner schreibgeschützt ist.</translation>
    </message>
    <message>
        <source>The pair store “%1” could not be opened because it is read-only.</source>
        <translation>Der Paarspeicher „%1“ konnte nicht geöffnet werden, weil er schreibgeschützt ist.</translation>
    </message>
    <message>
        <source>The pair store “%1” could not be opened because it is a folder.</source>
        <translation>Der Paarspeicher „%1“ konnte nicht geöffnet werden, weil er ein Ordner ist.</translation>
    </message>
    <message>
        <source>The pair store “%1” could not be opened because its folder does not exist.</source>
        <translation>Der Paarspeicher „%1“ konnte nicht geöffnet werden, weil sein Ordner nicht existiert.</translation>
    </message>
    <message>
        <source>The pair store “%1” could not be opened.</source>
        <translation>Der Paarspeicher „%1“ konnte nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>The pair store “%1” was written by a newer version of Pricora.</source>
        <translation>Der Paarspeicher „%1“ wurde von einer neueren Version von Pricora geschrieben.</translation>
    </message>
    <message>
        <source>Pricora could not read the pair store “%1”.</source>
        <translation>Pricora konnte den Paarspeicher „%1“ nicht lesen.</translation>
    </message>
    <message>
        <source>Pricora could not save your changes to “%1”.</source>
        <translation>Pricora konnte Ihre Änderungen nicht in „%1“ sichern.</translation>
    </message>
    <message>
        <source>The lock file “%1” could not be used.</source>
        <translation>Die Sperrdatei „%1“ konnte nicht benutzt werden.</translation>
    </message>
    <message>
        <source>The file “%1” is not a Pricora history file.</source>
        <translation>Die Datei „%1“ ist keine Verlaufsdatei von Pricora.</translation>
    </message>
    <message>
        <source>The history file “%1” is damaged.</source>
        <translation>Die Verlaufsdatei „%1“ ist beschädigt.</translation>
    </message>
    <message>
        <source>The history file “%1” could not be opened.</source>
        <translation>Die Verlaufsdatei „%1“ konnte nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>The history file “%1” was written by a newer version of Pricora.</source>
        <translation>Die Verlaufsdatei „%1“ wurde von einer neueren Version von Pricora geschrieben.</translation>
    </message>
    <message>
        <source>Pricora could not read the history file “%1”.</source>
        <translation>Pricora konnte die Verlaufsdatei „%1“ nicht lesen.</translation>
    </message>
    <message>
        <source>Pricora could not save the alerts to “%1”.</source>
        <translation>Pricora konnte die Alarme nicht in „%1“ sichern.</translation>
    </message>
    <message>
        <source>Pricora could not record the prices in “%1”.</source>
        <translation>Pricora konnte die Preise nicht in „%1“ festhalten.</translation>
    </message>
</context>
<context>
    <name>TrayChooser</name>
    <message>
        <source>pricora: no tray to show the icons in yet (no StatusNotifierWatcher on the session bus, no XEmbed tray on the display); they will show when one starts</source>
        <translation>pricora: noch kein Infobereich für die Symbole (kein StatusNotifierWatcher auf dem Sitzungsbus, kein XEmbed-Infobereich auf dem Bildschirm); sie erscheinen, sobald einer startet</translation>
    </message>
</context>
</TS>
