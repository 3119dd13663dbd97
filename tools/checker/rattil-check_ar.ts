<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ar">
<context>
    <name>CourseChecker</name>
    <message>
        <location filename="coursechecker.cpp" line="108"/>
        <source>is UTF-8 with a byte order mark, not Windows-1256: save it as &quot;Arabic (Windows)&quot;</source>
        <translation>مكتوب بترميز UTF-8 مع علامة ترتيب البايتات، لا بترميز Windows-1256: احفظه بترميز &quot;Arabic (Windows)&quot;</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="111"/>
        <source>is UTF-16, not Windows-1256: save it as &quot;Arabic (Windows)&quot;</source>
        <translation>مكتوب بترميز UTF-16، لا بترميز Windows-1256: احفظه بترميز &quot;Arabic (Windows)&quot;</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="118"/>
        <source>is UTF-8, not Windows-1256: its Arabic shows as garbled letters; save it as &quot;Arabic (Windows)&quot;</source>
        <translation>مكتوب بترميز UTF-8، لا بترميز Windows-1256: يظهر نصه العربي حروفًا مشوهة؛ احفظه بترميز &quot;Arabic (Windows)&quot;</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="223"/>
        <source> (there is a file %1, but the name must match in letter case)</source>
        <translation> (يوجد ملف باسم %1، لكن يجب أن يطابق الاسم في حالة الأحرف)</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="253"/>
        <source>missing: the learner sees a blank page instead</source>
        <translation>مفقود: يرى المتعلم صفحة فارغة بدلًا منه</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="254"/>
        <source>missing: the program opens on nofile.htm instead</source>
        <translation>مفقود: يبدأ البرنامج بالصفحة nofile.htm بدلًا منه</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="256"/>
        <source>missing: every missing page, and a missing first.htm, shows a blank page</source>
        <translation>مفقود: كل صفحة مفقودة، وكذلك first.htm إن فُقدت، تظهر صفحة فارغة</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="260"/>
        <source>missing: &quot;%1&quot; shows nofile.htm instead</source>
        <translation>مفقود: يظهر الدرس &quot;%1&quot; الصفحة nofile.htm بدلًا منه</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="282"/>
        <source>missing: the program says &quot;%1&quot; and shows an empty menu</source>
        <translation>مفقود: يعرض البرنامج الرسالة &quot;%1&quot; وقائمة فارغة</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="299"/>
        <location filename="coursechecker.cpp" line="313"/>
        <source>index lesson without entries: its list is empty</source>
        <translation>درس فهرس بلا مداخل: قائمته فارغة</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="301"/>
        <source>no chapter line (&quot;@ title&quot;): the menu is empty</source>
        <translation>لا يوجد سطر باب (&quot;@ العنوان&quot;): القائمة فارغة</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="324"/>
        <source>chapter %1 is beyond the %2 chapters the menu shows: learners cannot reach it</source>
        <translation>الباب %1 يتجاوز الأبواب الـ%2 التي تعرضها القائمة: لا يصل إليه المتعلم</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="329"/>
        <source>chapter %1 has no title</source>
        <translation>الباب %1 بلا عنوان</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="334"/>
        <source>lesson before the first chapter: it is never shown</source>
        <translation>درس قبل الباب الأول: لا يظهر أبدًا</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="340"/>
        <source>lesson %1 of chapter %2 is beyond the %3 lessons a chapter shows: learners cannot reach it</source>
        <translation>الدرس %1 من الباب %2 يتجاوز الدروس الـ%3 التي يعرضها الباب: لا يصل إليه المتعلم</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="351"/>
        <source>entry before the first lesson of its chapter: it is never shown</source>
        <translation>مدخل قبل أول درس في بابه: لا يظهر أبدًا</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="356"/>
        <source>entry under lesson %1 of chapter %2, which is not an index lesson (its number is below %3): it is never shown</source>
        <translation>مدخل تحت الدرس %1 من الباب %2، وهو ليس درس فهرس (رقمه أقل من %3): لا يظهر أبدًا</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="367"/>
        <source>entry %1 is beyond the %2 entries an index lesson shows: learners cannot reach it</source>
        <translation>المدخل %1 يتجاوز المداخل الـ%2 التي يعرضها درس الفهرس: لا يصل إليه المتعلم</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="375"/>
        <source>starts with a blank, so the line is not read</source>
        <translation>يبدأ بمسافة، فلا يُقرأ السطر</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="378"/>
        <source>not read: a line starts with @ (chapter), # (lesson) or &amp; (entry); start a comment with ;</source>
        <translation>لا يُقرأ: يبدأ السطر بـ @ (باب) أو # (درس) أو &amp; (مدخل)؛ وابدأ التعليق بـ ;</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="387"/>
        <source>no &quot;*&quot; and number after the title: taken as 0, a page without examples</source>
        <translation>لا توجد &quot;*&quot; ولا رقم بعد العنوان: يؤخذ 0، صفحة بلا أمثلة</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="395"/>
        <source>no number after &quot;*&quot;: taken as 0, a page without examples</source>
        <translation>لا رقم بعد &quot;*&quot;: يؤخذ 0، صفحة بلا أمثلة</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="401"/>
        <source>&quot;%1&quot; is not a whole number from 0 to 32767: taken as 0, a page without examples</source>
        <translation>&quot;%1&quot; ليس عددًا صحيحًا من 0 إلى 32767: يؤخذ 0، صفحة بلا أمثلة</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="406"/>
        <source>the number %1 is negative: write 0 for a page without examples</source>
        <translation>الرقم %1 سالب: اكتب 0 لصفحة بلا أمثلة</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="409"/>
        <source>%1 examples, but the panel has %2 buttons: examples %3 to %1 cannot be reached</source>
        <translation>%1 مثالًا، لكن في اللوحة %2 زرًّا: لا يُوصَل إلى الأمثلة من %3 إلى %1</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="465"/>
        <source>%1: &quot;%2&quot; is not a whole number from -32768 to 32767; the program uses 0</source>
        <translation>%1: &quot;%2&quot; ليس عددًا صحيحًا من -32768 إلى 32767؛ يستعمل البرنامج 0</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="469"/>
        <source>%1: &quot;%2&quot; is not a colour (a number in 0x00BBGGRR order); the program uses black</source>
        <translation>%1: &quot;%2&quot; ليس لونًا (رقمًا بترتيب 0x00BBGGRR)؛ يستعمل البرنامج الأسود</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="474"/>
        <source>%1: no installed font is called &quot;%2&quot;; the text is drawn in &quot;%3&quot; instead</source>
        <translation>%1: لا يوجد خط مثبت باسم &quot;%2&quot;؛ يُرسم النص بالخط &quot;%3&quot; بدلًا منه</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="477"/>
        <source> (remove the blanks around the name)</source>
        <translation> (احذف المسافات حول الاسم)</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="488"/>
        <source>has %1 lines; the program reads %2 by position, and the settings of the missing lines keep their defaults</source>
        <translation>فيه %1 سطرًا؛ يقرأ البرنامج %2 سطرًا بحسب ترتيبها، وتبقى إعدادات الأسطر الناقصة على قيمها الافتراضية</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="493"/>
        <source>lines after the %1th are not read</source>
        <translation>الأسطر بعد السطر %1 لا تُقرأ</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="507"/>
        <source>its first line is not a number: the examples bar opens at the top of the window</source>
        <translation>سطره الأول ليس رقمًا: يُفتح شريط الأمثلة في أعلى النافذة</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="517"/>
        <source>the skin folder is missing: the window has no pictures at all</source>
        <translation>مجلد الواجهة مفقود: لا تظهر في النافذة أي صورة</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="526"/>
        <source>missing: the window shows no picture in its place</source>
        <translation>مفقود: لا تظهر صورة في مكانه من النافذة</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="534"/>
        <source>is not a cursor file the program can read: the plain hand pointer is shown instead</source>
        <translation>ليس ملف مؤشر يستطيع البرنامج قراءته: يظهر مؤشر اليد العادي بدلًا منه</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="540"/>
        <location filename="coursechecker.cpp" line="755"/>
        <source>cannot be read as a picture: %1</source>
        <translation>لا يمكن قراءته صورةً: %1</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="545"/>
        <source>is %1 x %2 pixels; the window is 786 x 632</source>
        <translation>مقاسه %1 × %2 بكسل؛ والنافذة 786 × 632</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="586"/>
        <source>is not valid %1, the charset it declares: the page shows garbled letters</source>
        <translation>ليس %1 صحيحًا، وهو الترميز الذي تعلنه الصفحة: تظهر حروفها مشوهة</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="594"/>
        <source>declares no charset, so the program guesses %1; declare it in the page&apos;s head</source>
        <translation>لا تعلن الصفحة ترميزها، فيخمّن البرنامج %1؛ أعلنه في رأس الصفحة</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="669"/>
        <source>the picture %1 is not in the course folder: the page view shows only local pictures</source>
        <translation>الصورة %1 ليست في مجلد الدورة: لا يعرض عارض الصفحات إلا الصور المحلية</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="677"/>
        <source>the picture %1 is missing</source>
        <translation>الصورة %1 مفقودة</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="682"/>
        <source>cannot be read as a picture (shown on %1)</source>
        <translation>لا يمكن قراءته صورةً (يظهر في %1)</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="692"/>
        <source>the link to %1 leads nowhere: that file is missing</source>
        <translation>الرابط إلى %1 لا يؤدي إلى شيء: ذلك الملف مفقود</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="696"/>
        <source>the link to %1 leaves the course folder</source>
        <translation>الرابط إلى %1 يخرج من مجلد الدورة</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="725"/>
        <source>example %1 of &quot;%2&quot; has neither this sound nor its text %3: the learner is told a file is missing</source>
        <translation>المثال %1 من &quot;%2&quot; ليس له هذا الصوت ولا نصه %3: يُبلَّغ المتعلم بأن ملفًا ناقص</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="735"/>
        <source>cannot be decoded or reports no duration: the example cannot be played</source>
        <translation>لا يمكن فك ترميزه أو لا يذكر مدته: لا يمكن تشغيل المثال</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="745"/>
        <source>has no title tag and example %1 of &quot;%2&quot; has no picture %3 or %4: the learner is told a file is missing</source>
        <translation>ليس فيه وسم عنوان، وليس للمثال %1 من &quot;%2&quot; صورة %3 أو %4: يُبلَّغ المتعلم بأن ملفًا ناقص</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="789"/>
        <source>cannot be decoded or reports no duration: it is not played</source>
        <translation>لا يمكن فك ترميزه أو لا يذكر مدته: لا يُشغَّل</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="801"/>
        <source>its first line is empty: the example shows no text</source>
        <translation>سطره الأول فارغ: لا يظهر للمثال نص</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="811"/>
        <source>is a file, not a folder: the learner&apos;s recordings cannot be saved</source>
        <translation>ملف لا مجلد: لا يمكن حفظ تسجيلات المتعلم</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="881"/>
        <source>cannot be read: %1</source>
        <translation>تتعذر قراءته: %1</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="889"/>
        <source>is not JSON: %1 at byte %2</source>
        <translation>ليس JSON: %1 عند البايت %2</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="890"/>
        <source>is not a JSON object of examples&apos; base names</source>
        <translation>ليس كائن JSON مفاتيحه أسماء الأمثلة</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="908"/>
        <source>&quot;%1&quot; names no example of the course</source>
        <translation>&quot;%1&quot; ليس اسم مثال من أمثلة الدورة</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="915"/>
        <source>&quot;%1&quot;: the example shows a picture or has no text, so there are no words to time</source>
        <translation>&quot;%1&quot;: المثال يعرض صورة أو ليس له نص، فلا كلمات تُوقَّت</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="921"/>
        <source>is not a list of [word position, start ms, end ms]</source>
        <translation>ليس قائمة من [رقم الكلمة، البداية بالملّي ثانية، النهاية بالملّي ثانية]</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="931"/>
        <source>%1 is not [word position, start ms, end ms]</source>
        <translation>%1 ليس [رقم الكلمة، البداية بالملّي ثانية، النهاية بالملّي ثانية]</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="937"/>
        <source>word position %1 is not one of the text&apos;s words, 1 to %2</source>
        <translation>رقم الكلمة %1 ليس من كلمات النص، من 1 إلى %2</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="941"/>
        <source>word %1 is given twice</source>
        <translation>الكلمة %1 مذكورة مرتين</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="952"/>
        <source>word %1 (&quot;%2&quot;) has no times</source>
        <translation>الكلمة %1 (&quot;%2&quot;) ليس لها توقيت</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="961"/>
        <source>word %1: %2</source>
        <translation>الكلمة %1: %2</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="966"/>
        <source>exists: not replaced without --force</source>
        <translation>موجود: لا يُستبدل إلا مع ‎--force</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="973"/>
        <source>cannot be written: %1</source>
        <translation>تتعذر كتابته: %1</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="557"/>
        <source>cannot be read as a picture: the program&apos;s own is shown instead</source>
        <translation>لا تمكن قراءته صورةً: تُعرض صورة البرنامج بدلًا منه</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="827"/>
        <source>cannot be written: the learner&apos;s recordings cannot be saved</source>
        <translation>لا تمكن الكتابة فيه: لا يمكن حفظ تسجيلات المتعلم</translation>
    </message>
    <message>
        <location filename="coursechecker.cpp" line="846"/>
        <source>nothing in the course refers to this file</source>
        <translation>لا شيء في الدورة يشير إلى هذا الملف</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <location filename="main.cpp" line="64"/>
        <source>Checks a course folder: every file the program will look for, in the form it reads it.</source>
        <translation>يفحص مجلد دورة: كل ملف سيبحث عنه البرنامج، بالصيغة التي يقرؤه بها.</translation>
    </message>
    <message>
        <location filename="main.cpp" line="68"/>
        <source>Print the findings as JSON.</source>
        <translation>اطبع النتائج بصيغة JSON.</translation>
    </message>
    <message>
        <location filename="main.cpp" line="70"/>
        <source>Count warnings as errors.</source>
        <translation>احسب التنبيهات أخطاءً.</translation>
    </message>
    <message>
        <location filename="main.cpp" line="72"/>
        <source>Write the examples&apos; .words files from word timings in the segments form (a JSON object of base names and [[word position, start ms, end ms], ...]), checked against each example&apos;s text.</source>
        <translation>اكتب ملفات ‎.words للأمثلة من توقيت الكلمات بصيغة المقاطع (كائن JSON من أسماء الأمثلة و[[رقم الكلمة، البداية بالملّي ثانية، النهاية بالملّي ثانية]، ...])، بعد مطابقتها لنص كل مثال.</translation>
    </message>
    <message>
        <location filename="main.cpp" line="77"/>
        <source>With --import-segments: replace .words files.</source>
        <translation>مع ‎--import-segments: استبدل ملفات ‎.words الموجودة.</translation>
    </message>
    <message>
        <location filename="main.cpp" line="83"/>
        <source>The course folder (beside the program).</source>
        <translation>مجلد الدورة (بجانب البرنامج).</translation>
    </message>
    <message>
        <location filename="main.cpp" line="102"/>
        <source>checking %1 of %2 ...</source>
        <translation>جارٍ فحص %1 من %2 ...</translation>
    </message>
    <message>
        <location filename="main.cpp" line="108"/>
        <location filename="main.cpp" line="125"/>
        <source>%1: no such folder
</source>
        <translation>%1: لا يوجد مجلد بهذا الاسم
</translation>
    </message>
    <message>
        <location filename="main.cpp" line="114"/>
        <source>%1: written
</source>
        <translation>%1: كُتب
</translation>
    </message>
    <message>
        <location filename="main.cpp" line="116"/>
        <source>%1 errors, %2 files written
</source>
        <translation>الأخطاء: %1، والملفات المكتوبة: %2
</translation>
    </message>
    <message>
        <location filename="main.cpp" line="152"/>
        <source>%1 errors, %2 warnings in %3 files
</source>
        <translation>الأخطاء: %1، التنبيهات: %2، في %3 ملفًا
</translation>
    </message>
    <message>
        <location filename="main.cpp" line="158"/>
        <source>the course folder cannot be written: this learner&apos;s recordings go to %1
</source>
        <translation>لا تمكن الكتابة في مجلد الدورة: تُحفظ تسجيلات هذا المتعلم في %1
</translation>
    </message>
</context>
</TS>
