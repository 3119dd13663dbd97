<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ar">
<context>
    <name>CourseChecker</name>
    <message>
        <location filename="coursechecker.cpp" line="94"/>
        <source>is UTF-8 with a byte order mark, not Windows-1256: save it as &quot;Arabic (Windows)&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="97"/>
        <source>is UTF-16, not Windows-1256: save it as &quot;Arabic (Windows)&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="104"/>
        <source>is UTF-8, not Windows-1256: its Arabic shows as garbled letters; save it as &quot;Arabic (Windows)&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="192"/>
        <source> (there is a file %1, but the name must match in letter case)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="221"/>
        <source>missing: the learner sees a blank page instead</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="222"/>
        <source>missing: the program opens on nofile.htm instead</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="224"/>
        <source>missing: every missing page, and a missing first.htm, shows a blank page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="228"/>
        <source>missing: &quot;%1&quot; shows nofile.htm instead</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="250"/>
        <source>missing: the program says &quot;%1&quot; and shows an empty menu</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="267"/>
        <location filename="coursechecker.cpp" line="281"/>
        <source>index lesson without entries: its list is empty</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="269"/>
        <source>no chapter line (&quot;@ title&quot;): the menu is empty</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="292"/>
        <source>chapter %1 is beyond the %2 chapters the menu shows: learners cannot reach it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="297"/>
        <source>chapter %1 has no title</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="302"/>
        <source>lesson before the first chapter: it is never shown</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="308"/>
        <source>lesson %1 of chapter %2 is beyond the %3 lessons a chapter shows: learners cannot reach it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="319"/>
        <source>entry before the first lesson of its chapter: it is never shown</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="325"/>
        <source>entry under lesson %1 of chapter %2, which is not an index lesson (its number is below %3): it is never shown</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="336"/>
        <source>entry %1 is beyond the %2 entries an index lesson shows: learners cannot reach it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="344"/>
        <source>starts with a blank, so the line is not read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="347"/>
        <source>not read: a line starts with @ (chapter), # (lesson) or &amp; (entry); start a comment with ;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="357"/>
        <source>no &quot;*&quot; and number after the title: taken as 0, a page without examples</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="365"/>
        <source>no number after &quot;*&quot;: taken as 0, a page without examples</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="371"/>
        <source>&quot;%1&quot; is not a whole number from 0 to 32767: taken as 0, a page without examples</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="376"/>
        <source>the number %1 is negative: write 0 for a page without examples</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="380"/>
        <source>%1 examples, but the panel has %2 buttons: examples %3 to %1 cannot be reached</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="435"/>
        <source>%1: &quot;%2&quot; is not a whole number from -32768 to 32767; the program uses 0</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="439"/>
        <source>%1: &quot;%2&quot; is not a colour (a number in 0x00BBGGRR order); the program uses black</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="444"/>
        <source>%1: no installed font is called &quot;%2&quot;; the text is drawn in &quot;%3&quot; instead</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="447"/>
        <source> (remove the blanks around the name)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="458"/>
        <source>has %1 lines; the program reads %2 by position, and the settings of the missing lines keep their defaults</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="463"/>
        <source>lines after the %1th are not read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="476"/>
        <source>its first line is not a number: the examples bar opens at the top of the window</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="487"/>
        <source>the skin folder is missing: the window has no pictures at all</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="496"/>
        <source>missing: the window shows no picture in its place</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="504"/>
        <source>is not a cursor file the program can read: the plain hand pointer is shown instead</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="510"/>
        <location filename="coursechecker.cpp" line="676"/>
        <source>cannot be read as a picture: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="515"/>
        <source>is %1 x %2 pixels; the window is 786 x 632</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="543"/>
        <source>is not valid %1, the charset it declares: the page shows garbled letters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="550"/>
        <source>declares no charset, so the program guesses %1; declare it in the page&apos;s head</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="594"/>
        <source>the picture %1 is not in the course folder: the page view shows only local pictures</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="602"/>
        <source>the picture %1 is missing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="607"/>
        <source>cannot be read as a picture (shown on %1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="616"/>
        <source>the link to %1 leads nowhere: that file is missing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="620"/>
        <source>the link to %1 leaves the course folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="648"/>
        <source>example %1 of &quot;%2&quot; has neither this sound nor its text %3: the learner is told a file is missing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="658"/>
        <source>cannot be decoded or reports no duration: the example cannot be played</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="666"/>
        <source>has no title tag and example %1 of &quot;%2&quot; has no picture %3 or %4: the learner is told a file is missing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="683"/>
        <source>cannot be decoded or reports no duration: it is not played</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="695"/>
        <source>its first line is empty: the example shows no text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="704"/>
        <source>is a file, not a folder: the learner&apos;s recordings cannot be saved</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="713"/>
        <source>cannot be written: the learner&apos;s recordings cannot be saved</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="716"/>
        <source>is missing and the course folder cannot be written, so it cannot be created: the learner&apos;s recordings cannot be saved</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="733"/>
        <source>nothing in the course refers to this file</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <location filename="main.cpp" line="53"/>
        <source>Checks a course folder: every file the program will look for, in the form it reads it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="main.cpp" line="57"/>
        <source>Print the findings as JSON.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="main.cpp" line="59"/>
        <source>Count warnings as errors.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="main.cpp" line="63"/>
        <source>The course folder (beside the program).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="main.cpp" line="81"/>
        <source>checking %1 of %2 ...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="main.cpp" line="89"/>
        <source>%1: no such folder
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location filename="main.cpp" line="115"/>
        <source>%1 errors, %2 warnings in %3 files
</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
