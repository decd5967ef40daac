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
        <source>usage: pricora [--headless [--refreshes N] [--timeout SECONDS] [--dump PATH|-] | --bar FORMAT] [--help] [--version]
  --headless        run without a display; the tray is kept in memory
  --refreshes N     quit after N completed refreshes (0: run until the time-out)
  --timeout S       quit after S seconds at the latest (default 60)
  --dump PATH|-     write the tray as JSON to PATH (or standard output) before quitting
  --bar FORMAT      print the menu-bar prices for a text bar, one line an update, until the
                    bar goes away; FORMAT is waybar, polybar or i3blocks. Reads the store,
                    never writes it; SIGUSR1 refreshes at once
  --help            show this help and exit
  --version         show the version and exit
exit status (headless): 0 after N refreshes, 2 when the time-out ended the run, 1 on a fatal error
exit status (bar): 0 when the bar closes its end or a signal ends the run, 1 on a fatal error
</source>
        <translation>Aufruf: pricora [--headless [--refreshes N] [--timeout SEKUNDEN] [--dump PFAD|-] | --bar FORMAT] [--help] [--version]
  --headless        ohne Bildschirm laufen; der Infobereich wird nur im Speicher gehalten
  --refreshes N     nach N abgeschlossenen Aktualisierungen beenden (0: bis zur Zeitgrenze laufen)
  --timeout S       spätestens nach S Sekunden beenden (Vorgabe 60)
  --dump PFAD|-     vor dem Beenden den Infobereich als JSON nach PFAD (oder - für die Standardausgabe) schreiben
  --bar FORMAT      die Preise der Menüleiste für eine Textleiste ausgeben, eine Zeile je Änderung, bis
                    die Leiste verschwindet; FORMAT ist waybar, polybar oder i3blocks. Liest den
                    Speicher, schreibt ihn nie; SIGUSR1 aktualisiert sofort
  --help            diese Hilfe zeigen und beenden
  --version         die Version zeigen und beenden
Exit-Status (headless): 0 nach N Aktualisierungen, 2 wenn die Zeitgrenze den Lauf beendet hat, 1 bei einem schweren Fehler
Exit-Status (bar): 0 wenn die Leiste ihr Ende schließt oder ein Signal den Lauf beendet, 1 bei einem schweren Fehler
</translation>
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
        <source>
One Pricora runs per store: a second desktop start shows the running one&apos;s Manage window and
exits with 0 (1 when the running one does not answer); a second headless start names the
running one and exits with 1.

files:
  $XDG_CONFIG_HOME/Pricora/Pricora.conf
      settings: exchange addresses, tray/darkText, launchAtStartup (~/.config by default)
  $XDG_DATA_HOME/com.apple.toolsQA.CocoaApp_CD/Mintor.storedata
      the pair store, a SQLite database (~/.local/share by default)
  $XDG_DATA_HOME/com.apple.toolsQA.CocoaApp_CD/pricora.lock
      locked while Pricora runs on that store; holds its process id
  $XDG_CONFIG_HOME/autostart/example.pricora.Pricora-Helper.desktop
      written while Preferences &gt; Launch at Login is on, removed when it is off
  RESOURCES/iconSmall.svg, RESOURCES/translations/pricora_LANGUAGE.qm
  RESOURCES/Experimental.plist
      optional: refreshFrequency, the seconds between refreshes (default 60)
      RESOURCES is $PRICORA_RESOURCES, else share/pricora beside the program&apos;s bin folder

environment:
  XDG_CONFIG_HOME, XDG_DATA_HOME        where the settings and the store live
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
      Einstellungen: Adressen der Börsen, tray/darkText, launchAtStartup (Vorgabe ~/.config)
  $XDG_DATA_HOME/com.apple.toolsQA.CocoaApp_CD/Mintor.storedata
      der Paarspeicher, eine SQLite-Datenbank (Vorgabe ~/.local/share)
  $XDG_DATA_HOME/com.apple.toolsQA.CocoaApp_CD/pricora.lock
      gesperrt, solange ein Pricora auf diesem Speicher läuft; enthält dessen Prozessnummer
  $XDG_CONFIG_HOME/autostart/example.pricora.Pricora-Helper.desktop
      vorhanden, solange Preferences &gt; Launch at Login eingeschaltet ist
  RESSOURCEN/iconSmall.svg, RESSOURCEN/translations/pricora_SPRACHE.qm
  RESSOURCEN/Experimental.plist
      optional: refreshFrequency, die Sekunden zwischen zwei Aktualisierungen (Vorgabe 60)
      RESSOURCEN ist $PRICORA_RESOURCES, sonst share/pricora neben dem bin-Ordner des Programms

Umgebung:
  XDG_CONFIG_HOME, XDG_DATA_HOME        wo Einstellungen und Speicher liegen
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
        <source>pricora: already running (pid %1) but not answering; choose Manage from its tray icon&apos;s menu</source>
        <translation>pricora: läuft bereits (PID %1), antwortet aber nicht; wählen Sie „Manage“ im Menü seines Symbols im Infobereich</translation>
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
</context>
</TS>
