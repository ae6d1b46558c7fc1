<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AboutForm</name>
    <message>
        <source>About VeltraExtSetCalibDate</source>
        <translation>Über VeltraExtSetCalibDate</translation>
    </message>
    <message>
        <source>Version 2.0.1</source>
        <translation>Version 2.0.1</translation>
    </message>
    <message>
        <source>Calibration service utility for Veltra survey instruments</source>
        <translation>Kalibrierwerkzeug für Veltra-Messgeräte</translation>
    </message>
    <message>
        <source>Version %1.%2.%3</source>
        <translation>Version %1.%2.%3</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
</context>
<context>
    <name>CalibRecord</name>
    <message>
        <source>cannot be read</source>
        <translation>kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>The calibration record cannot be used: the settings file names the database driver &quot;%1&quot; (section [Record], key Driver); QSQLITE or QPSQL are known.</source>
        <translation>Das Kalibrierprotokoll kann nicht verwendet werden: Die Einstellungsdatei nennt den Datenbanktreiber „%1“ (Abschnitt [Record], Schlüssel Driver); bekannt sind QSQLITE und QPSQL.</translation>
    </message>
    <message>
        <source>cannot be created (its folder is missing)</source>
        <translation>kann nicht angelegt werden (der Ordner fehlt)</translation>
    </message>
    <message>
        <source>cannot be reached</source>
        <translation>ist nicht erreichbar</translation>
    </message>
    <message>
        <source>cannot be opened</source>
        <translation>kann nicht geöffnet werden</translation>
    </message>
    <message>
        <source>The calibration record %1 was made by a newer version of this program (format %2); this one knows format %3 and leaves it as it is.</source>
        <translation>Das Kalibrierprotokoll %1 stammt von einer neueren Version dieses Programms (Format %2); diese Version kennt Format %3 und lässt es unverändert.</translation>
    </message>
    <message>
        <source>The calibration record %1 holds no open entry %2 to complete.</source>
        <translation>Das Kalibrierprotokoll %1 enthält keinen offenen Eintrag %2 zum Abschließen.</translation>
    </message>
    <message>
        <source>cannot be written</source>
        <translation>kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>The calibration record %1 is damaged or is not a record file (%2). It was left as it is; move it elsewhere to start a new record, and keep it for the entries it holds.</source>
        <translation>Das Kalibrierprotokoll %1 ist beschädigt oder keine Protokolldatei (%2). Es wurde nicht verändert; verschieben Sie es, um ein neues Protokoll zu beginnen, und bewahren Sie es wegen seiner Einträge auf.</translation>
    </message>
    <message>
        <source>The calibration record %1 %2.</source>
        <translation>Das Kalibrierprotokoll %1 %2.</translation>
    </message>
    <message>
        <source>The calibration record %1 %2: %3</source>
        <translation>Das Kalibrierprotokoll %1 %2: %3</translation>
    </message>
    <message>
        <source>entry %1 (%2)</source>
        <translation>Eintrag %1 (%2)</translation>
    </message>
    <message>
        <source>no certificate</source>
        <translation>kein Kalibrierschein</translation>
    </message>
    <message>
        <source>broken at %1: it does not follow the entry completed before it, which was removed or changed</source>
        <translation>unterbrochen bei %1: Er folgt nicht auf den zuvor abgeschlossenen Eintrag, der entfernt oder geändert wurde</translation>
    </message>
    <message>
        <source>broken at %1: its fields do not match its hash</source>
        <translation>unterbrochen bei %1: Seine Felder passen nicht zu seinem Hash</translation>
    </message>
    <message numerus="yes">
        <source>intact: %n entries</source>
        <translation>
            <numerusform>intakt: %n Eintrag</numerusform>
            <numerusform>intakt: %n Einträge</numerusform>
        </translation>
    </message>
    <message>
        <source>The calibration record %1 holds no entry %2.</source>
        <translation>Das Kalibrierprotokoll %1 enthält keinen Eintrag %2.</translation>
    </message>
    <message>
        <source>broken at the release of entry %1: it does not follow the link before it or no longer matches its hash or its entry</source>
        <translation>unterbrochen bei der Freigabe von Eintrag %1: Sie folgt nicht auf das Glied vor ihr oder passt nicht mehr zu ihrem Hash oder ihrem Eintrag</translation>
    </message>
    <message>
        <source>entry %1 was already released by %2 on %3</source>
        <translation>Eintrag %1 wurde bereits von %2 am %3 freigegeben</translation>
    </message>
    <message>
        <source>entry %1 was not verified (%2): only a verified calibration is released</source>
        <translation>Eintrag %1 wurde nicht verifiziert (%2): Nur eine verifizierte Kalibrierung wird freigegeben</translation>
    </message>
    <message>
        <source>entry %1 was written by this account (%2): a second person releases it</source>
        <translation>Eintrag %1 wurde von diesem Konto geschrieben (%2): Eine zweite Person gibt ihn frei</translation>
    </message>
    <message>
        <source>not released</source>
        <translation>nicht freigegeben</translation>
    </message>
    <message>
        <source>Released by %1 on %2</source>
        <translation>Freigegeben von %1 am %2</translation>
    </message>
</context>
<context>
    <name>Calibration</name>
    <message>
        <source>The expiration date %1 lies before the calibration date %2.</source>
        <translation>Das Ablaufdatum %1 liegt vor dem Kalibrierdatum %2.</translation>
    </message>
    <message>
        <source>The instrument has changed since it was read (serial number %1, now %2). Read it again before changing its dates.</source>
        <translation>Das Gerät wurde seit dem Lesen gewechselt (Seriennummer %1, jetzt %2). Lesen Sie es erneut, bevor Sie seine Daten ändern.</translation>
    </message>
    <message>
        <source>expired</source>
        <translation>abgelaufen</translation>
    </message>
    <message numerus="yes">
        <source>due in %n days</source>
        <translation>
            <numerusform>fällig in %n Tag</numerusform>
            <numerusform>fällig in %n Tagen</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ComSettings</name>
    <message>
        <source>Searching available com ports 
Please wait...</source>
        <translation>Verfügbare COM-Ports werden gesucht 
Bitte warten...</translation>
    </message>
    <message>
        <source>Please select com port!</source>
        <translation>Bitte wählen Sie einen COM-Port.</translation>
    </message>
    <message>
        <source>Invalid selected com port.
Please select com port!</source>
        <translation>Ungültiger COM-Port gewählt.
Bitte wählen Sie einen COM-Port.</translation>
    </message>
    <message>
        <source>Opening com port %1...</source>
        <translation>COM-Port %1 wird geöffnet...</translation>
    </message>
    <message>
        <source>Cannot open com port %1 .
Check other running programs or select available com port !</source>
        <translation>COM-Port %1 kann nicht geöffnet werden.
Prüfen Sie andere laufende Programme oder wählen Sie einen verfügbaren COM-Port.</translation>
    </message>
    <message>
        <source>Reading Veltra...</source>
        <translation>Veltra wird gelesen...</translation>
    </message>
    <message>
        <source>Veltra not found!</source>
        <translation>Veltra nicht gefunden.</translation>
    </message>
    <message>
        <source>No com port available!</source>
        <translation>Kein COM-Port verfügbar.</translation>
    </message>
    <message>
        <source>Search on com port %1...</source>
        <translation>Suche an COM-Port %1...</translation>
    </message>
    <message>
        <source>Veltra found on port %1 !</source>
        <translation>Veltra an COM-Port %1 gefunden.</translation>
    </message>
    <message>
        <source>Com Settings</source>
        <translation>COM-Einstellungen</translation>
    </message>
    <message>
        <source>Searching available com ports </source>
        <translation>Verfügbare COM-Ports werden gesucht </translation>
    </message>
    <message>
        <source>Port Number</source>
        <translation>Portnummer</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>Connected via Bluetooth</source>
        <translation>Bluetooth-Verbindung</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>&amp;Read Veltra</source>
        <translation>Veltra &amp;lesen</translation>
    </message>
    <message>
        <source>&amp;Search Veltra</source>
        <translation>Veltra &amp;suchen</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>Com Settings</source>
        <comment>the group of the port and its line profile</comment>
        <translation>Schnittstelle</translation>
    </message>
</context>
<context>
    <name>HistoryModel</name>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>Serial No.</source>
        <translation>Seriennr.</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>Modell</translation>
    </message>
    <message>
        <source>Dates before</source>
        <translation>Daten vorher</translation>
    </message>
    <message>
        <source>Dates asked</source>
        <translation>Daten verlangt</translation>
    </message>
    <message>
        <source>Dates read back</source>
        <translation>Daten zurückgelesen</translation>
    </message>
    <message>
        <source>Outcome</source>
        <translation>Ergebnis</translation>
    </message>
    <message>
        <source>Technician</source>
        <translation>Bearbeiter</translation>
    </message>
    <message>
        <source>Bench</source>
        <translation>Prüfplatz</translation>
    </message>
</context>
<context>
    <name>HistoryWindow</name>
    <message>
        <source>Export CSV</source>
        <translation>CSV exportieren</translation>
    </message>
    <message>
        <source>CSV files (*.csv);;All files (*)</source>
        <translation>CSV-Dateien (*.csv);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Entry: %1</source>
        <translation>Eintrag: %1</translation>
    </message>
    <message>
        <source>Certificate No.: %1</source>
        <translation>Kalibrierschein-Nr.: %1</translation>
    </message>
    <message>
        <source>Started: %1</source>
        <translation>Begonnen: %1</translation>
    </message>
    <message>
        <source>Finished: %1</source>
        <translation>Beendet: %1</translation>
    </message>
    <message>
        <source>Outcome: %1</source>
        <translation>Ergebnis: %1</translation>
    </message>
    <message>
        <source>Detail: %1</source>
        <translation>Einzelheiten: %1</translation>
    </message>
    <message>
        <source>Serial No.: %1</source>
        <translation>Seriennr.: %1</translation>
    </message>
    <message>
        <source>Model: %1</source>
        <translation>Modell: %1</translation>
    </message>
    <message>
        <source>Firmware: %1</source>
        <translation>Firmware: %1</translation>
    </message>
    <message>
        <source>Checksum: %1</source>
        <translation>Prüfsumme: %1</translation>
    </message>
    <message>
        <source>Calibration date before: %1</source>
        <translation>Kalibrierdatum vorher: %1</translation>
    </message>
    <message>
        <source>Expiration date before: %1</source>
        <translation>Ablaufdatum vorher: %1</translation>
    </message>
    <message>
        <source>Calibration date asked: %1</source>
        <translation>Kalibrierdatum verlangt: %1</translation>
    </message>
    <message>
        <source>Expiration date asked: %1</source>
        <translation>Ablaufdatum verlangt: %1</translation>
    </message>
    <message>
        <source>Calibration date read back: %1</source>
        <translation>Kalibrierdatum zurückgelesen: %1</translation>
    </message>
    <message>
        <source>Expiration date read back: %1</source>
        <translation>Ablaufdatum zurückgelesen: %1</translation>
    </message>
    <message>
        <source>Technician: %1</source>
        <translation>Bearbeiter: %1</translation>
    </message>
    <message>
        <source>Account: %1</source>
        <translation>Konto: %1</translation>
    </message>
    <message>
        <source>Reference: %1</source>
        <translation>Referenzstrahler: %1</translation>
    </message>
    <message>
        <source>Bench: %1</source>
        <translation>Prüfplatz: %1</translation>
    </message>
    <message>
        <source>Port: %1 %2</source>
        <translation>Port: %1 %2</translation>
    </message>
    <message>
        <source>Written with: %1 %2</source>
        <translation>Geschrieben mit: %1 %2</translation>
    </message>
    <message>
        <source>Hash: %1</source>
        <translation>Hash: %1</translation>
    </message>
    <message>
        <source>History</source>
        <translation>Verlauf</translation>
    </message>
    <message>
        <source>Serial No. :</source>
        <translation>Seriennr. :</translation>
    </message>
    <message>
        <source>all instruments</source>
        <translation>alle Geräte</translation>
    </message>
    <message>
        <source>Outcome :</source>
        <translation>Ergebnis :</translation>
    </message>
    <message>
        <source>all outcomes</source>
        <translation>alle Ergebnisse</translation>
    </message>
    <message>
        <source>&amp;Due within</source>
        <translation>&amp;Fällig innerhalb von</translation>
    </message>
    <message>
        <source>days</source>
        <translation>Tagen</translation>
    </message>
    <message>
        <source>&amp;Export CSV...</source>
        <translation>CSV &amp;exportieren...</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Chain: being checked...</source>
        <translation>Kette: wird geprüft...</translation>
    </message>
    <message>
        <source>Serial No.</source>
        <translation>Seriennr.</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>Modell</translation>
    </message>
    <message>
        <source>Calibration date</source>
        <translation>Kalibrierdatum</translation>
    </message>
    <message>
        <source>Expiration date</source>
        <translation>Ablaufdatum</translation>
    </message>
    <message>
        <source>Days left</source>
        <translation>Resttage</translation>
    </message>
    <message>
        <source>Certificate No.</source>
        <translation>Kalibrierschein-Nr.</translation>
    </message>
    <message>
        <source>Technician</source>
        <translation>Bearbeiter</translation>
    </message>
    <message>
        <source>Chain: </source>
        <translation>Kette: </translation>
    </message>
    <message>
        <source>This entry is no longer there.</source>
        <translation>Dieser Eintrag ist nicht mehr vorhanden.</translation>
    </message>
    <message>
        <source>being checked</source>
        <translation>wird geprüft</translation>
    </message>
    <message>
        <source>this entry breaks it: </source>
        <translation>dieser Eintrag unterbricht sie: </translation>
    </message>
    <message>
        <source>

Chain: </source>
        <translation>

Kette: </translation>
    </message>
    <message>
        <source>The record could not be exported to %1.

%2</source>
        <translation>Das Protokoll konnte nicht nach %1 exportiert werden.

%2</translation>
    </message>
    <message>
        <source>Print &amp;Label...</source>
        <translation>Etikett &amp;drucken...</translation>
    </message>
    <message>
        <source>&amp;Certificate...</source>
        <translation>&amp;Kalibrierschein...</translation>
    </message>
    <message numerus="yes">
        <source>expired %n days ago</source>
        <translation>
            <numerusform>seit %n Tag abgelaufen</numerusform>
            <numerusform>seit %n Tagen abgelaufen</numerusform>
        </translation>
    </message>
    <message>
        <source>Release: %1</source>
        <translation>Freigabe: %1</translation>
    </message>
    <message>
        <source>&amp;Release...</source>
        <translation>Frei&amp;geben...</translation>
    </message>
    <message>
        <source>Select an entry of the history first.</source>
        <translation>Zuerst einen Eintrag der Historie auswählen.</translation>
    </message>
    <message>
        <source>Only a verified calibration gets a certificate.</source>
        <translation>Nur eine verifizierte Kalibrierung erhält einen Kalibrierschein.</translation>
    </message>
    <message>
        <source>Release entry %1 (certificate %2, serial number %3, written by %4) as %5?

The release is kept in the calibration record and cannot be undone.</source>
        <translation>Eintrag %1 (Kalibrierschein %2, Seriennummer %3, Bearbeiter %4) als %5 freigeben?

Die Freigabe wird im Kalibrierprotokoll festgehalten und kann nicht zurückgenommen werden.</translation>
    </message>
    <message>
        <source>Entry %1 released by %2.</source>
        <translation>Eintrag %1 von %2 freigegeben.</translation>
    </message>
</context>
<context>
    <name>LabelPrinting</name>
    <message>
        <source>Print Label</source>
        <translation>Etikett drucken</translation>
    </message>
    <message>
        <source>No label printed: no printer is set (Printer in section [Label] of the settings file).</source>
        <translation>Kein Etikett gedruckt: Es ist kein Drucker eingestellt (Printer im Abschnitt [Label] der Einstellungsdatei).</translation>
    </message>
    <message>
        <source>The label was not saved: %1</source>
        <translation>Das Etikett wurde nicht gespeichert: %1</translation>
    </message>
    <message>
        <source>Label %1 saved as %2.</source>
        <translation>Etikett %1 gespeichert als %2.</translation>
    </message>
    <message>
        <source>The label was not printed: %1</source>
        <translation>Das Etikett wurde nicht gedruckt: %1</translation>
    </message>
    <message>
        <source>Label %1 sent to %2 (job %3).</source>
        <translation>Etikett %1 an %2 gesendet (Auftrag %3).</translation>
    </message>
    <message>
        <source>Save Certificate</source>
        <translation>Kalibrierschein speichern</translation>
    </message>
    <message>
        <source>PDF files (*.pdf);;All files (*)</source>
        <translation>PDF-Dateien (*.pdf);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>The certificate was not saved.

%1</source>
        <translation>Der Kalibrierschein wurde nicht gespeichert.

%1</translation>
    </message>
</context>
<context>
    <name>LabelText</name>
    <message>
        <source>&lt;h1&gt;Calibration certificate&lt;/h1&gt;</source>
        <translation>&lt;h1&gt;Kalibrierschein&lt;/h1&gt;</translation>
    </message>
    <message>
        <source>Certificate No.</source>
        <translation>Kalibrierschein-Nr.</translation>
    </message>
    <message>
        <source>Date of issue</source>
        <translation>Ausstellungsdatum</translation>
    </message>
    <message>
        <source>Laboratory</source>
        <translation>Labor</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>Anschrift</translation>
    </message>
    <message>
        <source>&lt;h2&gt;Instrument&lt;/h2&gt;</source>
        <translation>&lt;h2&gt;Gerät&lt;/h2&gt;</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>Modell</translation>
    </message>
    <message>
        <source>Serial number</source>
        <translation>Seriennummer</translation>
    </message>
    <message>
        <source>Firmware</source>
        <translation>Firmware</translation>
    </message>
    <message>
        <source>&lt;h2&gt;Dates&lt;/h2&gt;</source>
        <translation>&lt;h2&gt;Daten&lt;/h2&gt;</translation>
    </message>
    <message>
        <source>&lt;tr&gt;&lt;th width=30%&gt;&lt;/th&gt;&lt;th align=left&gt;Calibration date&lt;/th&gt;&lt;th align=left&gt;Expiration date&lt;/th&gt;&lt;/tr&gt;</source>
        <translation>&lt;tr&gt;&lt;th width=30%&gt;&lt;/th&gt;&lt;th align=left&gt;Kalibrierdatum&lt;/th&gt;&lt;th align=left&gt;Ablaufdatum&lt;/th&gt;&lt;/tr&gt;</translation>
    </message>
    <message>
        <source>Found</source>
        <translation>Vorgefunden</translation>
    </message>
    <message>
        <source>Asked</source>
        <translation>Verlangt</translation>
    </message>
    <message>
        <source>Read back</source>
        <translation>Zurückgelesen</translation>
    </message>
    <message>
        <source>&lt;p&gt;Outcome: verified. The instrument was read back after the write and holds the dates asked.&lt;/p&gt;</source>
        <translation>&lt;p&gt;Ergebnis: verifiziert. Das Gerät wurde nach dem Schreiben zurückgelesen und enthält die verlangten Daten.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Technician</source>
        <translation>Bearbeiter</translation>
    </message>
    <message>
        <source>Reference source</source>
        <translation>Referenzstrahler</translation>
    </message>
    <message>
        <source>Written</source>
        <translation>Geschrieben</translation>
    </message>
    <message>
        <source>Program</source>
        <translation>Programm</translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;small&gt;This certificate covers what the program did: the dates written to the instrument and verified by reading them back. Measurement results are not part of it.&lt;/small&gt;&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;small&gt;Dieser Kalibrierschein umfasst, was das Programm getan hat: die in das Gerät geschriebenen und durch Zurücklesen verifizierten Daten. Messergebnisse sind nicht Teil davon.&lt;/small&gt;&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Page 1 of 1</source>
        <translation>Seite 1 von 1</translation>
    </message>
    <message>
        <source>the certificate does not fit on one page</source>
        <translation>der Kalibrierschein passt nicht auf eine Seite</translation>
    </message>
    <message>
        <source>S/N</source>
        <translation>S/N</translation>
    </message>
    <message>
        <source>Calibrated</source>
        <translation>Kalibriert</translation>
    </message>
    <message>
        <source>Due</source>
        <translation>Fällig</translation>
    </message>
    <message>
        <source>By</source>
        <translation>Bearb.</translation>
    </message>
    <message>
        <source>the label&apos;s fields are too long for a QR code</source>
        <translation>die Felder des Etiketts sind zu lang für einen QR-Code</translation>
    </message>
    <message>
        <source>the label&apos;s fields do not fit on %1 x %2 mm in type of %3 pt or more</source>
        <translation>die Felder des Etiketts passen nicht auf %1 x %2 mm bei einer Schrift von %3 pt oder mehr</translation>
    </message>
    <message>
        <source>%1 cannot be written: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>the page cannot be drawn</source>
        <translation>die Seite kann nicht gezeichnet werden</translation>
    </message>
    <message>
        <source>no temporary folder for the label: %1</source>
        <translation>kein temporärer Ordner für das Etikett: %1</translation>
    </message>
    <message>
        <source>the print queue &quot;%1&quot; takes no job: %2</source>
        <translation>die Druckwarteschlange „%1“ nimmt keinen Auftrag an: %2</translation>
    </message>
    <message>
        <source>Record entry %1, hash</source>
        <translation>Protokolleintrag %1, Hash</translation>
    </message>
    <message>
        <source>Release</source>
        <translation>Freigabe</translation>
    </message>
    <message>
        <source>entry %1 is not released: the settings ask for a release by a second person before a certificate ([Certificate] RequireRelease)</source>
        <translation>Eintrag %1 ist nicht freigegeben: Die Einstellungen verlangen vor einem Kalibrierschein die Freigabe durch eine zweite Person ([Certificate] RequireRelease)</translation>
    </message>
    <message>
        <source>%1 cannot be read: %2</source>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>%1 is no calibration certificate of this program</source>
        <translation>%1 ist kein Kalibrierschein dieses Programms</translation>
    </message>
    <message>
        <source>%1 holds no certificate in PEM form</source>
        <translation>%1 enthält kein Zertifikat im PEM-Format</translation>
    </message>
    <message>
        <source>the certificate in %1 expired on %2</source>
        <translation>das Zertifikat in %1 ist am %2 abgelaufen</translation>
    </message>
    <message>
        <source>the certificate in %1 is valid only from %2</source>
        <translation>das Zertifikat in %1 gilt erst ab %2</translation>
    </message>
    <message>
        <source>%1 may be read or run by others (mode %2): allow its owner only, with chmod 600</source>
        <translation>%1 darf von anderen gelesen oder ausgeführt werden (Modus %2): nur dem Eigentümer erlauben, mit chmod 600</translation>
    </message>
    <message>
        <source>%1 holds an encrypted key: this program takes an unencrypted one</source>
        <translation>%1 enthält einen verschlüsselten Schlüssel: dieses Programm nimmt nur einen unverschlüsselten</translation>
    </message>
    <message>
        <source>%1 holds no private key in PEM form</source>
        <translation>%1 enthält keinen privaten Schlüssel im PEM-Format</translation>
    </message>
    <message>
        <source>[Certificate] names a signing key or certificate but not both: SigningCertificate=%1, SigningKey=%2</source>
        <translation>[Certificate] nennt nur einen von Signaturschlüssel und Zertifikat, nicht beide: SigningCertificate=%1, SigningKey=%2</translation>
    </message>
    <message>
        <source>the key in %1 does not belong to the certificate in %2</source>
        <translation>der Schlüssel in %1 gehört nicht zum Zertifikat in %2</translation>
    </message>
    <message>
        <source>the certificate cannot be signed with the key in %1</source>
        <translation>der Kalibrierschein kann mit dem Schlüssel in %1 nicht signiert werden</translation>
    </message>
</context>
<context>
    <name>Link</name>
    <message>
        <source>Please check bluetooth,</source>
        <translation>Bitte prüfen Sie Bluetooth,</translation>
    </message>
    <message>
        <source>Please check connection cable,</source>
        <translation>Bitte prüfen Sie das Verbindungskabel,</translation>
    </message>
    <message>
        <source>Data transfer to instrument fails (%1) !
%2
Com port (Selection!) and device status !</source>
        <translation>Datenübertragung zum Gerät fehlgeschlagen (%1).
%2
den COM-Port (Auswahl) und den Gerätezustand.</translation>
    </message>
    <message>
        <source>Com port %1 (%2)</source>
        <translation>COM-Port %1 (%2)</translation>
    </message>
    <message>
        <source>com port %1 (%2)</source>
        <translation>COM-Port %1 (%2)</translation>
    </message>
    <message>
        <source>No serial port is present now.</source>
        <translation>Zurzeit ist keine serielle Schnittstelle vorhanden.</translation>
    </message>
    <message>
        <source>Serial ports present now: </source>
        <translation>Zurzeit vorhandene serielle Schnittstellen: </translation>
    </message>
    <message>
        <source>Com port %1 names no device: choose a port that is present.</source>
        <translation>COM-Port %1 bezeichnet keine Gerätedatei: Wählen Sie einen vorhandenen Port.</translation>
    </message>
    <message>
        <source>The adapter %1 of com port %2 is not plugged in: plug it in or choose a port that is present.</source>
        <translation>Der Adapter %1 von COM-Port %2 ist nicht eingesteckt: Stecken Sie ihn ein oder wählen Sie einen vorhandenen Port.</translation>
    </message>
    <message>
        <source>The Bluetooth port %1 of com port %2 is not bound: pair the instrument and bind it (sudo rfcomm bind %3 followed by the instrument&apos;s Bluetooth address).</source>
        <translation>Der Bluetooth-Port %1 von COM-Port %2 ist nicht gebunden: Koppeln Sie das Gerät und binden Sie den Port (sudo rfcomm bind %3, gefolgt von der Bluetooth-Adresse des Geräts).</translation>
    </message>
    <message>
        <source> does not exist: the adapter seems unplugged; plug it in or choose a port that is present.</source>
        <translation> ist nicht vorhanden: Der Adapter scheint ausgesteckt; stecken Sie ihn ein oder wählen Sie einen vorhandenen Port.</translation>
    </message>
    <message>
        <source>brltty, the service for braille displays, took the USB adapter %1:%2%3 as soon as it was plugged in, so %4 has gone: if no braille display is used here, remove the brltty package (sudo apt remove brltty) and plug the adapter in again.</source>
        <translation>brltty, der Dienst für Braillezeilen, hat den USB-Adapter %1:%2%3 beim Einstecken übernommen, daher ist %4 verschwunden: Wird hier keine Braillezeile verwendet, entfernen Sie das Paket brltty (sudo apt remove brltty) und stecken Sie den Adapter neu ein.</translation>
    </message>
    <message>
        <source>To keep brltty, stop it from taking serial adapters instead: sudo systemctl mask brltty-udev.service, then plug the adapter in again.</source>
        <translation>Um brltty zu behalten, verhindern Sie stattdessen, dass es serielle Adapter übernimmt: sudo systemctl mask brltty-udev.service, dann stecken Sie den Adapter neu ein.</translation>
    </message>
    <message>
        <source>The device %1 belongs to owner %2 and group %3 with mode %4 (%5); this program runs as account %6 (uid %7) with the groups %8.</source>
        <translation>Die Gerätedatei %1 gehört Eigentümer %2 und Gruppe %3 mit Modus %4 (%5); dieses Programm läuft unter Konto %6 (UID %7) mit den Gruppen %8.</translation>
    </message>
    <message>
        <source> may not be opened yet: account %1 is in group %2, but this program runs without it; log out and in again (or reboot) for the group to take effect.</source>
        <translation> darf noch nicht geöffnet werden: Konto %1 ist in Gruppe %2, aber dieses Programm läuft ohne sie; melden Sie sich ab und wieder an (oder starten Sie neu), damit die Gruppe wirkt.</translation>
    </message>
    <message>
        <source> may not be opened by account %1: join group %2 (sudo usermod -aG %2 %1), then log out and in again.</source>
        <translation> darf von Konto %1 nicht geöffnet werden: Treten Sie Gruppe %2 bei (sudo usermod -aG %2 %1), dann melden Sie sich ab und wieder an.</translation>
    </message>
    <message>
        <source>Serial ports belong to group dialout on Debian and Ubuntu and to group uucp on Arch.</source>
        <translation>Serielle Schnittstellen gehören unter Debian und Ubuntu zur Gruppe dialout, unter Arch zur Gruppe uucp.</translation>
    </message>
    <message>
        <source> may not be opened by account %1, and its group gives no access either: ask the administrator for a udev rule that gives it group %2 and mode 0660.</source>
        <translation> darf von Konto %1 nicht geöffnet werden, und auch seine Gruppe gibt keinen Zugriff: Bitten Sie den Administrator um eine udev-Regel, die ihm Gruppe %2 und Modus 0660 gibt.</translation>
    </message>
    <message>
        <source> is in use by another program: close it or choose another port.</source>
        <translation> wird von einem anderen Programm verwendet: Schließen Sie es oder wählen Sie einen anderen Port.</translation>
    </message>
    <message>
        <source>That program could not be named, it may run under another account: sudo fuser -v %1 names it.</source>
        <translation>Dieses Programm konnte nicht ermittelt werden, es läuft vielleicht unter einem anderen Konto: sudo fuser -v %1 nennt es.</translation>
    </message>
    <message>
        <source> is in use by another copy of this program (%1, process %2): close it or choose another port.</source>
        <translation> wird von einer anderen Instanz dieses Programms verwendet (%1, Prozess %2): Schließen Sie sie oder wählen Sie einen anderen Port.</translation>
    </message>
    <message>
        <source> is in use by %1 (process %2): wait for it to finish or stop it.</source>
        <translation> wird von %1 verwendet (Prozess %2): Warten Sie, bis es fertig ist, oder beenden Sie es.</translation>
    </message>
    <message>
        <source> is in use by %1 (process %2): close that program or choose another port.</source>
        <translation> wird von %1 verwendet (Prozess %2): Schließen Sie dieses Programm oder wählen Sie einen anderen Port.</translation>
    </message>
    <message>
        <source>Process %1 has the device open.</source>
        <translation>Prozess %1 hat die Gerätedatei geöffnet.</translation>
    </message>
    <message>
        <source>Process %1 holds the lock file %2.</source>
        <translation>Prozess %1 hält die Sperrdatei %2.</translation>
    </message>
    <message>
        <source> is held by ModemManager (process %1)</source>
        <translation> wird von ModemManager belegt (Prozess %1)</translation>
    </message>
    <message>
        <source> is in use, most likely by ModemManager (process %1)</source>
        <translation> wird verwendet, vermutlich von ModemManager (Prozess %1)</translation>
    </message>
    <message>
        <source>, which probes serial adapters for modems: tell it to leave this adapter alone with a udev rule, then plug the adapter in again.</source>
        <translation>, der serielle Adapter nach Modems absucht: Schließen Sie diesen Adapter mit einer udev-Regel aus und stecken Sie ihn dann neu ein.</translation>
    </message>
    <message>
        <source>The rule, as one line in /etc/udev/rules.d/99-veltra-modemmanager.rules: ATTRS{idVendor}==&quot;%1&quot;, ATTRS{idProduct}==&quot;%2&quot;, ENV{ID_MM_DEVICE_IGNORE}=&quot;1&quot;</source>
        <translation>Die Regel, als eine Zeile in /etc/udev/rules.d/99-veltra-modemmanager.rules: ATTRS{idVendor}==&quot;%1&quot;, ATTRS{idProduct}==&quot;%2&quot;, ENV{ID_MM_DEVICE_IGNORE}=&quot;1&quot;</translation>
    </message>
    <message>
        <source>Load it with sudo udevadm control --reload-rules.</source>
        <translation>Laden Sie sie mit sudo udevadm control --reload-rules.</translation>
    </message>
    <message>
        <source>The rule sets ENV{ID_MM_DEVICE_IGNORE}=&quot;1&quot; for the adapter; without a modem, sudo systemctl disable --now ModemManager stops it altogether.</source>
        <translation>Die Regel setzt ENV{ID_MM_DEVICE_IGNORE}=&quot;1&quot; für den Adapter; ohne Modem beendet sudo systemctl disable --now ModemManager den Dienst ganz.</translation>
    </message>
    <message>
        <source>the system reports &quot;%1&quot; (%2)</source>
        <translation>das System meldet „%1“ (%2)</translation>
    </message>
    <message>
        <source>the serial port reports &quot;%1&quot;</source>
        <translation>die serielle Schnittstelle meldet „%1“</translation>
    </message>
    <message>
        <source> cannot be opened: </source>
        <translation> kann nicht geöffnet werden: </translation>
    </message>
    <message>
        <source>; check the adapter and its driver, or choose another port.</source>
        <translation>; prüfen Sie den Adapter und seinen Treiber oder wählen Sie einen anderen Port.</translation>
    </message>
    <message>
        <source>Line settings asked for: %1 (baud rate, parity, data bits, stop bits).</source>
        <translation>Verlangte Leitungseinstellungen: %1 (Baudrate, Parität, Datenbits, Stoppbits).</translation>
    </message>
    <message>
        <source>Absent: the device is not there.</source>
        <translation>Fehlt: Die Gerätedatei ist nicht vorhanden.</translation>
    </message>
    <message>
        <source>Not accessible: account %1 may not open it (owner %2, group %3, mode %4).</source>
        <translation>Kein Zugriff: Konto %1 darf es nicht öffnen (Eigentümer %2, Gruppe %3, Modus %4).</translation>
    </message>
    <message>
        <source>Busy: in use by %1 (process %2).</source>
        <translation>Belegt: wird von %1 verwendet (Prozess %2).</translation>
    </message>
</context>
<context>
    <name>LinkMessages</name>
    <message>
        <source>Parity Error

Press Ok to Quit, Cancel to ignore.</source>
        <translation>Paritätsfehler

OK zum Beenden, Abbrechen zum Ignorieren.</translation>
    </message>
</context>
<context>
    <name>MsgForm</name>
    <message>
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>Password protection</source>
        <translation>Passwortschutz</translation>
    </message>
    <message>
        <source>You can protect the &apos;Change Calib Date&apos; via password</source>
        <translation>Sie können „Kalibrierdatum ändern“ mit einem Passwort schützen</translation>
    </message>
    <message>
        <source>In Order to enable password protection, please set a password under menu function &apos;Options / Set Password...&apos;</source>
        <translation>Um den Passwortschutz einzuschalten, legen Sie bitte unter „Optionen / Passwort festlegen...“ ein Passwort fest</translation>
    </message>
    <message>
        <source>Don&apos;t show this message again</source>
        <translation>Diese Meldung nicht mehr anzeigen</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
</context>
<context>
    <name>PasswordChange</name>
    <message>
        <source>Change Password</source>
        <translation>Passwort ändern</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Passwort</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Bestätigen</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>&amp;Update</source>
        <translation>Ü&amp;bernehmen</translation>
    </message>
    <message>
        <source>Confirm error!</source>
        <translation>Bestätigung stimmt nicht überein.</translation>
    </message>
    <message>
        <source>Delete Password?</source>
        <translation>Passwort löschen?</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
</context>
<context>
    <name>PasswordInput</name>
    <message>
        <source>Input password</source>
        <translation>Passwort eingeben</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
</context>
<context>
    <name>PasswordStore</name>
    <message>
        <source>Cannot read password file!
%1
%2</source>
        <translation>Passwortdatei kann nicht gelesen werden.
%1
%2</translation>
    </message>
    <message>
        <source>Invalid password, cannot save password!</source>
        <translation>Ungültiges Passwort, Passwort kann nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>Cannot save password!
%1
%2</source>
        <translation>Passwort kann nicht gespeichert werden.
%1
%2</translation>
    </message>
    <message>
        <source>Not a regular file</source>
        <translation>Keine reguläre Datei</translation>
    </message>
</context>
<context>
    <name>RecordEntry</name>
    <message>
        <source>open</source>
        <translation>offen</translation>
    </message>
    <message>
        <source>verified</source>
        <translation>verifiziert</translation>
    </message>
    <message>
        <source>mismatch</source>
        <translation>abweichend</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>fehlgeschlagen</translation>
    </message>
    <message>
        <source>refused</source>
        <translation>abgelehnt</translation>
    </message>
    <message>
        <source>interrupted</source>
        <translation>unterbrochen</translation>
    </message>
    <message>
        <source>window</source>
        <translation>Fenster</translation>
    </message>
    <message>
        <source>tool</source>
        <translation>Werkzeug</translation>
    </message>
</context>
<context>
    <name>ToolText</name>
    <message>
        <source>present</source>
        <translation>vorhanden</translation>
    </message>
    <message>
        <source>absent </source>
        <translation>fehlt    </translation>
    </message>
    <message>
        <source>no temporary folder for the device&apos;s port map</source>
        <translation>kein temporärer Ordner für die Portzuordnung der Gerätedatei</translation>
    </message>
    <message>
        <source>cannot note the device path %1</source>
        <translation>der Pfad der Gerätedatei %1 kann nicht vermerkt werden</translation>
    </message>
    <message>
        <source>parity error in the instrument&apos;s reply</source>
        <translation>Paritätsfehler in der Antwort des Geräts</translation>
    </message>
    <message>
        <source>%1: no such device</source>
        <translation>%1: keine solche Gerätedatei</translation>
    </message>
    <message>
        <source>%1: the port cannot be opened</source>
        <translation>%1: der Port kann nicht geöffnet werden</translation>
    </message>
    <message>
        <source>Password: </source>
        <translation>Passwort: </translation>
    </message>
    <message>
        <source>a password protects writing: type it on a terminal or give it with --password-stdin</source>
        <translation>ein Passwort schützt das Schreiben: Geben Sie es an einem Terminal ein oder übergeben Sie es mit --password-stdin</translation>
    </message>
    <message>
        <source>wrong password</source>
        <translation>falsches Passwort</translation>
    </message>
    <message>
        <source>this %1 keeps an expiration date: give EXPIRES or --no-expiration</source>
        <translation>dieses %1 hat ein Ablaufdatum: geben Sie EXPIRES oder --no-expiration an</translation>
    </message>
    <message>
        <source>this %1 keeps no expiration date: give CALIB only</source>
        <translation>dieses %1 hat kein Ablaufdatum: geben Sie nur CALIB an</translation>
    </message>
    <message>
        <source> Nothing was written to the instrument.</source>
        <translation> In das Gerät wurde nichts geschrieben.</translation>
    </message>
    <message>
        <source>the outcome could not be kept in the calibration record: </source>
        <translation>das Ergebnis konnte nicht im Kalibrierprotokoll festgehalten werden: </translation>
    </message>
    <message>
        <source>written, but the instrument does not hold the dates</source>
        <translation>geschrieben, aber das Gerät enthält die Daten nicht</translation>
    </message>
    <message>
        <source>standard output cannot be written</source>
        <translation>die Standardausgabe kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>the calibration record cannot keep this write</source>
        <translation>das Kalibrierprotokoll kann diesen Schreibvorgang nicht festhalten</translation>
    </message>
    <message>
        <source>no instrument answered on %1</source>
        <translation>an %1 hat kein Gerät geantwortet</translation>
    </message>
    <message>
        <source>the instrument did not accept the command &quot;%1&quot;</source>
        <translation>das Gerät hat den Befehl „%1“ nicht angenommen</translation>
    </message>
    <message>
        <source>the calibration record holds no entry &quot;%1&quot;</source>
        <translation>das Kalibrierprotokoll enthält keinen Eintrag „%1“</translation>
    </message>
    <message>
        <source>entry %1 was not verified (%2): no %3</source>
        <translation>Eintrag %1 wurde nicht verifiziert (%2): kein %3</translation>
    </message>
    <message>
        <source>label</source>
        <translation>Etikett</translation>
    </message>
    <message>
        <source>certificate</source>
        <translation>Kalibrierschein</translation>
    </message>
    <message>
        <source>Show this help.</source>
        <translation>Diese Hilfe anzeigen.</translation>
    </message>
    <message>
        <source>Show the version.</source>
        <translation>Die Version anzeigen.</translation>
    </message>
    <message>
        <source>Port number (default: &quot;ComPort&quot; of the settings file).</source>
        <translation>Portnummer (Vorgabe: „ComPort“ der Einstellungsdatei).</translation>
    </message>
    <message>
        <source>Device path instead of a port number (pseudo-terminal, /dev/rfcomm0).</source>
        <translation>Pfad einer Gerätedatei statt einer Portnummer (Pseudoterminal, /dev/rfcomm0).</translation>
    </message>
    <message>
        <source>Bluetooth line profile and time limits (default: &quot;ConnectViaBluetooth&quot; of the settings file).</source>
        <translation>Leitungsprofil und Zeitgrenzen für Bluetooth (Vorgabe: „ConnectViaBluetooth“ der Einstellungsdatei).</translation>
    </message>
    <message>
        <source>When nothing answers, search ports 1 to 255 and store the port found.</source>
        <translation>Wenn nichts antwortet, die Ports 1 bis 255 durchsuchen und den gefundenen Port speichern.</translation>
    </message>
    <message>
        <source>Settings file (default: the program&apos;s, as the window finds it).</source>
        <translation>Einstellungsdatei (Vorgabe: die des Programms, wie das Fenster sie findet).</translation>
    </message>
    <message>
        <source>One JSON object on stdout (history: one array).</source>
        <translation>Ein JSON-Objekt auf stdout (history: ein Array).</translation>
    </message>
    <message>
        <source>history: CSV on stdout.</source>
        <translation>history: CSV auf stdout.</translation>
    </message>
    <message>
        <source>history: only the instrument with this serial number.</source>
        <translation>history: nur das Gerät mit dieser Seriennummer.</translation>
    </message>
    <message>
        <source>history: check the chain of completed entries; exit 4 names the first entry changed or removed.</source>
        <translation>history: die Kette der abgeschlossenen Einträge prüfen; Exit-Code 4 nennt den ersten geänderten oder entfernten Eintrag.</translation>
    </message>
    <message>
        <source>due: days ahead (default 30).</source>
        <translation>due: Tage im Voraus (Vorgabe 30).</translation>
    </message>
    <message>
        <source>due: an iCalendar file on stdout, one event per instrument on its expiration date.</source>
        <translation>due: eine iCalendar-Datei auf stdout, ein Termin je Gerät an seinem Ablaufdatum.</translation>
    </message>
    <message>
        <source>write: the reference source used, kept in the calibration record (default: &quot;Reference&quot; of section [Record] of the settings file).</source>
        <translation>write: der verwendete Referenzstrahler, im Kalibrierprotokoll festgehalten (Vorgabe: „Reference“ im Abschnitt [Record] der Einstellungsdatei).</translation>
    </message>
    <message>
        <source>Read the access password as one line from standard input.</source>
        <translation>Das Zugangspasswort als eine Zeile von der Standardeingabe lesen.</translation>
    </message>
    <message>
        <source>write: no expiration date (the instrument receives 2001-01-01).</source>
        <translation>write: kein Ablaufdatum (das Gerät erhält 2001-01-01).</translation>
    </message>
    <message>
        <source>Every frame on stderr.</source>
        <translation>Jeden Rahmen auf stderr.</translation>
    </message>
    <message>
        <source>Nothing on stdout but --json; errors still on stderr.</source>
        <translation>Nichts auf stdout außer --json; Fehler weiterhin auf stderr.</translation>
    </message>
    <message>
        <source>label, certificate: the PDF file to write.</source>
        <translation>label, certificate: die zu schreibende PDF-Datei.</translation>
    </message>
    <message>
        <source> (see --help)</source>
        <translation> (siehe --help)</translation>
    </message>
    <message>
        <source>no command given</source>
        <translation>kein Befehl angegeben</translation>
    </message>
    <message>
        <source>unknown command &quot;%1&quot;</source>
        <translation>unbekannter Befehl „%1“</translation>
    </message>
    <message>
        <source>write takes CALIB and optionally EXPIRES</source>
        <translation>write erwartet CALIB und wahlweise EXPIRES</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no date between 2000 and 2099</source>
        <translation>„%1“ ist kein Datum zwischen 2000 und 2099</translation>
    </message>
    <message>
        <source>give EXPIRES or --no-expiration, not both</source>
        <translation>geben Sie EXPIRES oder --no-expiration an, nicht beides</translation>
    </message>
    <message>
        <source>%1 takes one ID</source>
        <translation>%1 erwartet eine ID</translation>
    </message>
    <message>
        <source>%1 needs -o FILE.pdf</source>
        <translation>%1 braucht -o FILE.pdf</translation>
    </message>
    <message>
        <source>%1 takes no argument</source>
        <translation>%1 erwartet kein Argument</translation>
    </message>
    <message>
        <source>--no-expiration belongs to write</source>
        <translation>--no-expiration gehört zu write</translation>
    </message>
    <message>
        <source>--port takes a number from 1 to 255</source>
        <translation>--port erwartet eine Zahl von 1 bis 255</translation>
    </message>
    <message>
        <source>give --port or --device, not both</source>
        <translation>geben Sie --port oder --device an, nicht beides</translation>
    </message>
    <message>
        <source>--search looks at port numbers, not at --device</source>
        <translation>--search durchsucht Portnummern, nicht --device</translation>
    </message>
    <message>
        <source>--csv belongs to history and due</source>
        <translation>--csv gehört zu history und due</translation>
    </message>
    <message>
        <source>--serial and --verify belong to history</source>
        <translation>--serial und --verify gehören zu history</translation>
    </message>
    <message>
        <source>--within and --ics belong to due</source>
        <translation>--within und --ics gehören zu due</translation>
    </message>
    <message>
        <source>--within takes a number of days from 0 to 36500</source>
        <translation>--within erwartet eine Anzahl Tage von 0 bis 36500</translation>
    </message>
    <message>
        <source>give one of --json, --csv, --ics or --verify</source>
        <translation>geben Sie nur eines von --json, --csv, --ics oder --verify an</translation>
    </message>
    <message>
        <source>-o belongs to label and certificate</source>
        <translation>-o gehört zu label und certificate</translation>
    </message>
    <message>
        <source>--reference belongs to write</source>
        <translation>--reference gehört zu write</translation>
    </message>
    <message>
        <source>, expires </source>
        <translation>, Ablauf am </translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>Modell</translation>
    </message>
    <message>
        <source>Serial No.</source>
        <translation>Seriennr.</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>Firmware</source>
        <translation>Firmware</translation>
    </message>
    <message>
        <source>Battery</source>
        <translation>Batterie</translation>
    </message>
    <message>
        <source>Checksum</source>
        <translation>Prüfsumme</translation>
    </message>
    <message>
        <source>Calibration date</source>
        <translation>Kalibrierdatum</translation>
    </message>
    <message>
        <source>Expiration date</source>
        <translation>Ablaufdatum</translation>
    </message>
    <message>
        <source>(none kept)</source>
        <translation>(keines)</translation>
    </message>
    <message>
        <source>Written</source>
        <translation>Geschrieben</translation>
    </message>
    <message>
        <source>Read back</source>
        <translation>Zurückgelesen</translation>
    </message>
    <message>
        <source>Verified</source>
        <translation>Verifiziert</translation>
    </message>
    <message>
        <source>yes</source>
        <translation>ja</translation>
    </message>
    <message>
        <source>no</source>
        <translation>nein</translation>
    </message>
    <message>
        <source>Certificate No.</source>
        <translation>Kalibrierschein-Nr.</translation>
    </message>
    <message>
        <source>serial %1 was written at %2 in this run</source>
        <translation>Seriennummer %1 wurde in diesem Durchgang um %2 geschrieben</translation>
    </message>
    <message>
        <source>%1 written, %2 verified, %3 failed</source>
        <translation>%1 geschrieben, %2 verifiziert, %3 fehlgeschlagen</translation>
    </message>
    <message>
        <source>label needs -o FILE.pdf or --printer NAME, or a Printer in section [Label] of the settings file (see --help)</source>
        <translation>label braucht -o FILE.pdf oder --printer NAME, oder einen Printer im Abschnitt [Label] der Einstellungsdatei (siehe --help)</translation>
    </message>
    <message>
        <source>write: every instrument placed on the adapter, once per serial number, until SIGINT or SIGTERM.</source>
        <translation>write: jedes auf den Adapter gelegte Gerät, einmal je Seriennummer, bis SIGINT oder SIGTERM.</translation>
    </message>
    <message>
        <source>label: the print queue (default: &quot;Printer&quot; of section [Label]).</source>
        <translation>label: die Druckwarteschlange (Vorgabe: „Printer“ im Abschnitt [Label]).</translation>
    </message>
    <message>
        <source>-o needs a file name</source>
        <translation>-o braucht einen Dateinamen</translation>
    </message>
    <message>
        <source>--printer needs a queue name</source>
        <translation>--printer braucht den Namen einer Warteschlange</translation>
    </message>
    <message>
        <source>give -o or --printer, not both</source>
        <translation>geben Sie -o oder --printer an, nicht beides</translation>
    </message>
    <message>
        <source>watch, write --each: seconds between questions to the adapter (default: &quot;PollSeconds&quot; of section [Bench], else 2).</source>
        <translation>watch, write --each: Sekunden zwischen den Abfragen am Adapter (Vorgabe: „PollSeconds“ im Abschnitt [Bench], sonst 2).</translation>
    </message>
    <message>
        <source>--printer belongs to label</source>
        <translation>--printer gehört zu label</translation>
    </message>
    <message>
        <source>--each belongs to write</source>
        <translation>--each gehört zu write</translation>
    </message>
    <message>
        <source>--poll belongs to watch and write --each</source>
        <translation>--poll gehört zu watch und write --each</translation>
    </message>
    <message>
        <source>--poll takes seconds from 0.05 to 3600</source>
        <translation>--poll nimmt Sekunden von 0.05 bis 3600</translation>
    </message>
    <message numerus="yes">
        <source>expired %n days ago</source>
        <translation>
            <numerusform>seit %n Tag abgelaufen</numerusform>
            <numerusform>seit %n Tagen abgelaufen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>due in %n days</source>
        <translation>
            <numerusform>fällig in %n Tag</numerusform>
            <numerusform>fällig in %n Tagen</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 (keeps no expiration date)</source>
        <translation>%1 (hat kein Ablaufdatum)</translation>
    </message>
    <message>
        <source>entry %1 (%2) released by %3</source>
        <translation>Eintrag %1 (%2) freigegeben von %3</translation>
    </message>
    <message>
        <source>the calibration record holds no entry of this certificate</source>
        <translation>das Kalibrierprotokoll enthält keinen Eintrag dieses Kalibrierscheins</translation>
    </message>
    <message>
        <source>entry %1 of the record no longer gives the certificate&apos;s hash: it was changed since</source>
        <translation>Eintrag %1 des Protokolls ergibt den Hash des Kalibrierscheins nicht mehr: Er wurde seitdem geändert</translation>
    </message>
    <message>
        <source>chain %1</source>
        <translation>Kette %1</translation>
    </message>
    <message>
        <source>%1: matches entry %2 of the record; chain intact (%3 entries)</source>
        <translation>%1: stimmt mit Eintrag %2 des Protokolls überein; Kette intakt (%3 Einträge)</translation>
    </message>
    <message>
        <source>; signed by %1</source>
        <translation>; signiert von %1</translation>
    </message>
    <message>
        <source>Reads and writes the calibration date of a Veltra instrument.

Commands:
  ports                 every port number known, its device, description and presence
  identify              model, serial number, version, firmware, battery, checksum
  read                  identify, plus the calibration and expiration dates
  write CALIB [EXPIRES] write the dates (YYYY-MM-DD or the system&apos;s short date format),
                        read them back and check the instrument holds them; with --each,
                        every instrument placed on the adapter, once per serial number,
                        until interrupted, then &quot;N written, M verified, K failed&quot;
  watch                 one line per event until interrupted: an instrument placed (with
                        what read prints) or removed, the adapter unplugged or plugged
  version               the tool&apos;s version
  history               the calibration record, newest first (--serial, --json, --csv);
                        with --verify, checks that no entry was changed or removed
  due                   instruments whose calibration expires within --within DAYS
                        (default 30) or has expired (--json, --csv, --ics)
  label ID [-o FILE.pdf | --printer NAME]
                        the label of a verified calibration (ID: record id or
                        certificate number) as a PDF file or printed on the
                        queue NAME (default: Printer of section [Label]); size
                        and lab from section [Label]
  certificate ID -o FILE.pdf
                        its calibration certificate: one A4 page, PDF/A-1b,
                        lab and address from [Label] and [Certificate]
  certificate --check FILE.pdf
                        checks a certificate against the record: its entry, that
                        entry&apos;s hash and the chain up to it
  release ID            releases a verified calibration of another account, as a
                        second person; kept in the record

Exit codes:
  0  done (write: the instrument holds the dates; watch, write --each: interrupted by
     SIGINT or SIGTERM, every write verified)
  1  usage error (history, due: the calibration record cannot be read; write: an
     expiration date before the calibration date; label: the print queue takes
     no job)
  2  the port cannot be opened (missing, busy or not permitted)
  3  no instrument answered, or a command failed
  4  written, but the instrument does not hold the dates (write --each: a write of
     the run did not verify)
     (history --verify: an entry of the record was changed or removed;
     certificate --check: its entry is missing, no longer gives its hash, or the
     chain is broken before it)
  5  refused: password (wrong, missing or its file unreadable), firmware too old,
     the instrument changed since it was read, or the calibration record cannot
     keep the write (nothing is written then); label, certificate: the entry
     was not verified, or is not released where [Certificate] RequireRelease=1;
     release: the entry is this account&apos;s own, not verified or already released</source>
        <translation>Liest und schreibt das Kalibrierdatum eines Veltra-Geräts.

Befehle:
  ports                 alle bekannten Portnummern, ihre Gerätedatei, Beschreibung und Vorhandensein
  identify              Modell, Seriennummer, Version, Firmware, Batterie, Prüfsumme
  read                  wie identify, dazu Kalibrier- und Ablaufdatum
  write CALIB [EXPIRES] die Daten schreiben (JJJJ-MM-TT oder das kurze Datumsformat des
                        Systems), zurücklesen und prüfen, dass das Gerät sie enthält; mit
                        --each jedes auf den Adapter gelegte Gerät, einmal je Seriennummer,
                        bis zum Abbruch, dann „N geschrieben, M verifiziert, K fehlgeschlagen“
  watch                 eine Zeile je Ereignis bis zum Abbruch: ein Gerät aufgelegt (mit
                        dem, was read ausgibt) oder abgenommen, der Adapter getrennt oder
                        angeschlossen
  version               die Version des Werkzeugs
  history               das Kalibrierprotokoll, neueste zuerst (--serial, --json, --csv);
                        mit --verify: prüft, dass kein Eintrag geändert oder entfernt wurde
  due                   Geräte, deren Kalibrierung innerhalb von --within DAYS
                        (Vorgabe 30) abläuft oder abgelaufen ist (--json, --csv, --ics)
  label ID [-o FILE.pdf | --printer NAME]
                        das Etikett einer verifizierten Kalibrierung (ID: Protokollnummer
                        oder Kalibrierschein-Nr.) als PDF-Datei oder gedruckt auf der
                        Warteschlange NAME (Vorgabe: Printer im Abschnitt [Label]);
                        Größe und Labor aus Abschnitt [Label]
  certificate ID -o FILE.pdf
                        ihr Kalibrierschein: eine A4-Seite, PDF/A-1b,
                        Labor und Anschrift aus [Label] und [Certificate]
  certificate --check FILE.pdf
                        prüft einen Kalibrierschein gegen das Protokoll: seinen
                        Eintrag, dessen Hash und die Kette bis zu ihm
  release ID            gibt eine verifizierte Kalibrierung eines anderen Kontos als
                        zweite Person frei; im Protokoll festgehalten

Exit-Codes:
  0  erledigt (write: das Gerät enthält die Daten; watch, write --each: durch SIGINT
     oder SIGTERM beendet, jeder Schreibvorgang verifiziert)
  1  Aufruffehler (history, due: das Kalibrierprotokoll ist nicht lesbar; write: ein
     Ablaufdatum vor dem Kalibrierdatum; label: die Druckwarteschlange nimmt keinen
     Auftrag an)
  2  der Port kann nicht geöffnet werden (fehlt, belegt oder nicht erlaubt)
  3  kein Gerät hat geantwortet, oder ein Befehl ist fehlgeschlagen
  4  geschrieben, aber das Gerät enthält die Daten nicht (write --each: ein
     Schreibvorgang des Laufs wurde nicht verifiziert)
     (history --verify: ein Eintrag des Protokolls wurde geändert oder entfernt;
     certificate --check: sein Eintrag fehlt, ergibt seinen Hash nicht mehr, oder
     die Kette ist vor ihm unterbrochen)
  5  abgelehnt: Passwort (falsch, fehlt oder Datei nicht lesbar), Firmware zu alt,
     das Gerät wurde seit dem Lesen gewechselt, oder das Kalibrierprotokoll kann den
     Schreibvorgang nicht festhalten (dann wird nichts geschrieben); label, certificate:
     der Eintrag wurde nicht verifiziert oder ist nicht freigegeben, wo
     [Certificate] RequireRelease=1 gilt; release: der Eintrag ist die eigene Arbeit
     dieses Kontos, nicht verifiziert oder schon freigegeben</translation>
    </message>
    <message>
        <source>ports | identify | read | write | version | history | due | label | certificate | watch | release</source>
        <translation>ports | identify | read | write | version | history | due | label | certificate | watch | release</translation>
    </message>
    <message>
        <source>ports|identify|read|write CALIB [EXPIRES]|version|history|due|label ID|certificate ID|watch|release ID</source>
        <translation>ports|identify|read|write CALIB [EXPIRES]|version|history|due|label ID|certificate ID|watch|release ID</translation>
    </message>
    <message>
        <source>certificate: check this certificate against the calibration record.</source>
        <translation>certificate: diesen Kalibrierschein gegen das Kalibrierprotokoll prüfen.</translation>
    </message>
    <message>
        <source>--check belongs to certificate</source>
        <translation>--check gehört zu certificate</translation>
    </message>
    <message>
        <source>--check needs a file name</source>
        <translation>--check braucht einen Dateinamen</translation>
    </message>
    <message>
        <source>certificate --check takes a file and no ID or -o</source>
        <translation>certificate --check nimmt eine Datei und keine ID oder -o</translation>
    </message>
</context>
<context>
    <name>frmVeltra</name>
    <message>
        <source>%1 Write these dates anyway?</source>
        <translation>%1 Diese Daten trotzdem schreiben?</translation>
    </message>
    <message>
        <source>%1

Nothing was written to the instrument.</source>
        <translation>%1

In das Gerät wurde nichts geschrieben.</translation>
    </message>
    <message>
        <source>Certificate No. %1</source>
        <translation>Kalibrierschein-Nr. %1</translation>
    </message>
    <message>
        <source>Check date successful written!</source>
        <translation>Kalibrierdatum erfolgreich geschrieben.</translation>
    </message>
    <message>
        <source>Write check date failed!</source>
        <translation>Schreiben des Kalibrierdatums fehlgeschlagen.</translation>
    </message>
    <message>
        <source>The outcome of this write could not be kept in the calibration record.

%1</source>
        <translation>Das Ergebnis dieses Schreibvorgangs konnte nicht im Kalibrierprotokoll festgehalten werden.

%1</translation>
    </message>
    <message>
        <source>Calibration date will be set now.

You are sure?</source>
        <translation>Das Kalibrierdatum wird jetzt gesetzt.

Sind Sie sicher?</translation>
    </message>
    <message>
        <source>Terminate program ?</source>
        <translation>Programm beenden?</translation>
    </message>
    <message>
        <source>Reading Veltra!<byte value="xd"/>Please wait...</source>
        <translation>Veltra wird gelesen.<byte value="xd"/>Bitte warten...</translation>
    </message>
    <message>
        <source>Veltra not found (com port %1) !<byte value="xd"/><byte value="xd"/>Search Veltra on com ports?</source>
        <translation>Veltra nicht gefunden (COM-Port %1).<byte value="xd"/><byte value="xd"/>Veltra an den COM-Ports suchen?</translation>
    </message>
    <message>
        <source>Search on com port %1 ...</source>
        <translation>Suche an COM-Port %1 ...</translation>
    </message>
    <message>
        <source>Veltra Set Calib Date</source>
        <translation>Veltra Kalibrierdatum setzen</translation>
    </message>
    <message>
        <source>Serial No. :</source>
        <translation>Seriennr. :</translation>
    </message>
    <message>
        <source>Version :</source>
        <translation>Version :</translation>
    </message>
    <message>
        <source>Battery [V] :</source>
        <translation>Batterie [V] :</translation>
    </message>
    <message>
        <source>Checksum :</source>
        <translation>Prüfsumme :</translation>
    </message>
    <message>
        <source>Calibration date :</source>
        <translation>Kalibrierdatum :</translation>
    </message>
    <message>
        <source>Expiration date of calibration :</source>
        <translation>Ablaufdatum der Kalibrierung :</translation>
    </message>
    <message>
        <source>&amp;Read</source>
        <translation>&amp;Lesen</translation>
    </message>
    <message>
        <source>Set calibration date</source>
        <translation>Kalibrierdatum setzen</translation>
    </message>
    <message>
        <source>Calib date :</source>
        <translation>Kalibrierdatum :</translation>
    </message>
    <message>
        <source>Set Veltra expiration date of calibration</source>
        <translation>Ablaufdatum der Kalibrierung setzen</translation>
    </message>
    <message>
        <source>&amp;Change Calib Date...</source>
        <translation>Kalibrierdatum &amp;ändern...</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;History...</source>
        <translation>&amp;Verlauf...</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Configuration</source>
        <translation>&amp;Konfiguration</translation>
    </message>
    <message>
        <source>Com &amp;Settings...</source>
        <translation>COM-&amp;Einstellungen...</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Optionen</translation>
    </message>
    <message>
        <source>Set Password...</source>
        <translation>Passwort festlegen...</translation>
    </message>
    <message>
        <source>&amp;?</source>
        <translation>&amp;?</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>Ü&amp;ber...</translation>
    </message>
    <message>
        <source>Adapter unplugged (com port %1, %2)</source>
        <translation>Adapter getrennt (COM-Port %1, %2)</translation>
    </message>
    <message>
        <source>Reading %1!<byte value="xd"/>Please wait...</source>
        <translation>%1 wird gelesen.<byte value="xd"/>Bitte warten...</translation>
    </message>
    <message>
        <source>Print &amp;Label...</source>
        <translation>Etikett &amp;drucken...</translation>
    </message>
    <message>
        <source>Serial %1 was written at %2 in this run</source>
        <translation>Seriennr. %1 wurde in diesem Durchgang um %2 geschrieben</translation>
    </message>
    <message>
        <source>Place the next instrument</source>
        <translation>Legen Sie das nächste Gerät auf</translation>
    </message>
    <message>
        <source>Done: serial %1, verified. Take it off and place the next instrument</source>
        <translation>Fertig: Seriennr. %1 verifiziert. Nehmen Sie das Gerät ab und legen Sie das nächste auf</translation>
    </message>
    <message>
        <source>&amp;Bench Mode</source>
        <translation>&amp;Prüfplatzmodus</translation>
    </message>
    <message>
        <source>The settings file %1 cannot be written: the bench mode holds for this run only.</source>
        <translation>Die Einstellungsdatei %1 kann nicht geschrieben werden: Der Prüfplatzmodus gilt nur für diesen Lauf.</translation>
    </message>
</context>
</TS>
