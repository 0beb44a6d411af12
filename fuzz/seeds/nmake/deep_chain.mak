t0 : t1
	RC t0
t1 : t2
	RC t1
t2 : t3
	RC t2
t3 : t4
	RC t3
t4 : t5
	RC t4
t5 : t6
	RC t5
t6 : t7
	RC t6
t7 : t8
	RC t7
t8 : t9
	RC t8
t9 : t10
	RC t9
t10 : t11
	RC t10
t11 : t12
	RC t11
t12 : t13
	RC t12
t13 : t14
	RC t13
t14 : t15
	RC t14
t15 : t16
	RC t15
t16 : t17
	RC t16
t17 : t18
	RC t17
t18 : t19
	RC t18
t19 : t20
	RC t19
t20 : t21
	RC t20
t21 : t22
	RC t21
t22 : t23
	RC t22
t23 : t24
	RC t23
t24 : t25
	RC t24
t25 : t26
	RC t25
t26 : t27
	RC t26
t27 : t28
	RC t27
t28 : t29
	RC t28
t29 : t30
	RC t29
t30 : t31
	RC t30
t31 : t32
	RC t31
t32 : t33
	RC t32
t33 : t34
	RC t33
t34 : t35
	RC t34
t35 : t36
	RC t35
t36 : t37
	RC t36
t37 : t38
	RC t37
t38 : t39
	RC t38
t39 : t40
	RC t39
t40 : t41
	RC t40
t41 : t42
	RC t41
t42 : t43
	RC t42
t43 : t44
	RC t43
t44 : t45
	RC t44
t45 : t46
	RC t45
t46 : t47
	RC t46
t47 : t48
	RC t47
t48 : t49
	RC t48
t49 : t50
	RC t49
t50 : t51
	RC t50
t51 : t52
	RC t51
t52 : t53
	RC t52
t53 : t54
	RC t53
t54 : t55
	RC t54
t55 : t56
	RC t55
t56 : t57
	RC t56
t57 : t58
	RC t57
t58 : t59
	RC t58
t59 : t60
	RC t59
t60 : t61
	RC t60
t61 : t62
	RC t61
t62 : t63
	RC t62
t63 : t64
	RC t63
t64 : t65
	RC t64
t65 : t66
	RC t65
t66 : t67
	RC t66
t67 : t68
	RC t67
t68 : t69
	RC t68
t69 : t70
	RC t69
t70 : t71
	RC t70
t71 : t72
	RC t71
t72 : t73
	RC t72
t73 : t74
	RC t73
t74 : t75
	RC t74
t75 : t76
	RC t75
t76 : t77
	RC t76
t77 : t78
	RC t77
t78 : t79
	RC t78
t79 : t80
	RC t79
t80 : t81
	RC t80
t81 : t82
	RC t81
t82 : t83
	RC t82
t83 : t84
	RC t83
t84 : t85
	RC t84
t85 : t86
	RC t85
t86 : t87
	RC t86
t87 : t88
	RC t87
t88 : t89
	RC t88
t89 : t90
	RC t89
t90 : t91
	RC t90
t91 : t92
	RC t91
t92 : t93
	RC t92
t93 : t94
	RC t93
t94 : t95
	RC t94
t95 : t96
	RC t95
t96 : t97
	RC t96
t97 : t98
	RC t97
t98 : t99
	RC t98
t99 : t100
	RC t99
t100 : t101
	RC t100
t101 : t102
	RC t101
t102 : t103
	RC t102
t103 : t104
	RC t103
t104 : t105
	RC t104
t105 : t106
	RC t105
t106 : t107
	RC t106
t107 : t108
	RC t107
t108 : t109
	RC t108
t109 : t110
	RC t109
t110 : t111
	RC t110
t111 : t112
	RC t111
t112 : t113
	RC t112
t113 : t114
	RC t113
t114 : t115
	RC t114
t115 : t116
	RC t115
t116 : t117
	RC t116
t117 : t118
	RC t117
t118 : t119
	RC t118
t119 : t120
	RC t119
t120 : t121
	RC t120
t121 : t122
	RC t121
t122 : t123
	RC t122
t123 : t124
	RC t123
t124 : t125
	RC t124
t125 : t126
	RC t125
t126 : t127
	RC t126
t127 : t128
	RC t127
t128 : t129
	RC t128
t129 : t130
	RC t129
t130 : t131
	RC t130
t131 : t132
	RC t131
t132 : t133
	RC t132
t133 : t134
	RC t133
t134 : t135
	RC t134
t135 : t136
	RC t135
t136 : t137
	RC t136
t137 : t138
	RC t137
t138 : t139
	RC t138
t139 : t140
	RC t139
t140 : t141
	RC t140
t141 : t142
	RC t141
t142 : t143
	RC t142
t143 : t144
	RC t143
t144 : t145
	RC t144
t145 : t146
	RC t145
t146 : t147
	RC t146
t147 : t148
	RC t147
t148 : t149
	RC t148
t149 : t150
	RC t149
t150 : t151
	RC t150
t151 : t152
	RC t151
t152 : t153
	RC t152
t153 : t154
	RC t153
t154 : t155
	RC t154
t155 : t156
	RC t155
t156 : t157
	RC t156
t157 : t158
	RC t157
t158 : t159
	RC t158
t159 : t160
	RC t159
t160 : t161
	RC t160
t161 : t162
	RC t161
t162 : t163
	RC t162
t163 : t164
	RC t163
t164 : t165
	RC t164
t165 : t166
	RC t165
t166 : t167
	RC t166
t167 : t168
	RC t167
t168 : t169
	RC t168
t169 : t170
	RC t169
t170 : t171
	RC t170
t171 : t172
	RC t171
t172 : t173
	RC t172
t173 : t174
	RC t173
t174 : t175
	RC t174
t175 : t176
	RC t175
t176 : t177
	RC t176
t177 : t178
	RC t177
t178 : t179
	RC t178
t179 : t180
	RC t179
t180 : t181
	RC t180
t181 : t182
	RC t181
t182 : t183
	RC t182
t183 : t184
	RC t183
t184 : t185
	RC t184
t185 : t186
	RC t185
t186 : t187
	RC t186
t187 : t188
	RC t187
t188 : t189
	RC t188
t189 : t190
	RC t189
t190 : t191
	RC t190
t191 : t192
	RC t191
t192 : t193
	RC t192
t193 : t194
	RC t193
t194 : t195
	RC t194
t195 : t196
	RC t195
t196 : t197
	RC t196
t197 : t198
	RC t197
t198 : t199
	RC t198
t199 : t200
	RC t199
t200 : t201
	RC t200
t201 : t202
	RC t201
t202 : t203
	RC t202
t203 : t204
	RC t203
t204 : t205
	RC t204
t205 : t206
	RC t205
t206 : t207
	RC t206
t207 : t208
	RC t207
t208 : t209
	RC t208
t209 : t210
	RC t209
t210 : t211
	RC t210
t211 : t212
	RC t211
t212 : t213
	RC t212
t213 : t214
	RC t213
t214 : t215
	RC t214
t215 : t216
	RC t215
t216 : t217
	RC t216
t217 : t218
	RC t217
t218 : t219
	RC t218
t219 : t220
	RC t219
t220 : t221
	RC t220
t221 : t222
	RC t221
t222 : t223
	RC t222
t223 : t224
	RC t223
t224 : t225
	RC t224
t225 : t226
	RC t225
t226 : t227
	RC t226
t227 : t228
	RC t227
t228 : t229
	RC t228
t229 : t230
	RC t229
t230 : t231
	RC t230
t231 : t232
	RC t231
t232 : t233
	RC t232
t233 : t234
	RC t233
t234 : t235
	RC t234
t235 : t236
	RC t235
t236 : t237
	RC t236
t237 : t238
	RC t237
t238 : t239
	RC t238
t239 : t240
	RC t239
t240 : t241
	RC t240
t241 : t242
	RC t241
t242 : t243
	RC t242
t243 : t244
	RC t243
t244 : t245
	RC t244
t245 : t246
	RC t245
t246 : t247
	RC t246
t247 : t248
	RC t247
t248 : t249
	RC t248
t249 : t250
	RC t249
t250 : t251
	RC t250
t251 : t252
	RC t251
t252 : t253
	RC t252
t253 : t254
	RC t253
t254 : t255
	RC t254
t255 : t256
	RC t255
t256 : t257
	RC t256
t257 : t258
	RC t257
t258 : t259
	RC t258
t259 : t260
	RC t259
t260 : t261
	RC t260
t261 : t262
	RC t261
t262 : t263
	RC t262
t263 : t264
	RC t263
t264 : t265
	RC t264
t265 : t266
	RC t265
t266 : t267
	RC t266
t267 : t268
	RC t267
t268 : t269
	RC t268
t269 : t270
	RC t269
t270 : t271
	RC t270
t271 : t272
	RC t271
t272 : t273
	RC t272
t273 : t274
	RC t273
t274 : t275
	RC t274
t275 : t276
	RC t275
t276 : t277
	RC t276
t277 : t278
	RC t277
t278 : t279
	RC t278
t279 : t280
	RC t279
t280 : t281
	RC t280
t281 : t282
	RC t281
t282 : t283
	RC t282
t283 : t284
	RC t283
t284 : t285
	RC t284
t285 : t286
	RC t285
t286 : t287
	RC t286
t287 : t288
	RC t287
t288 : t289
	RC t288
t289 : t290
	RC t289
t290 : t291
	RC t290
t291 : t292
	RC t291
t292 : t293
	RC t292
t293 : t294
	RC t293
t294 : t295
	RC t294
t295 : t296
	RC t295
t296 : t297
	RC t296
t297 : t298
	RC t297
t298 : t299
	RC t298
t299 : t300
	RC t299
t300 : t301
	RC t300
t301 : t302
	RC t301
t302 : t303
	RC t302
t303 : t304
	RC t303
t304 : t305
	RC t304
t305 : t306
	RC t305
t306 : t307
	RC t306
t307 : t308
	RC t307
t308 : t309
	RC t308
t309 : t310
	RC t309
t310 : t311
	RC t310
t311 : t312
	RC t311
t312 : t313
	RC t312
t313 : t314
	RC t313
t314 : t315
	RC t314
t315 : t316
	RC t315
t316 : t317
	RC t316
t317 : t318
	RC t317
t318 : t319
	RC t318
t319 : t320
	RC t319
t320 : t321
	RC t320
t321 : t322
	RC t321
t322 : t323
	RC t322
t323 : t324
	RC t323
t324 : t325
	RC t324
t325 : t326
	RC t325
t326 : t327
	RC t326
t327 : t328
	RC t327
t328 : t329
	RC t328
t329 : t330
	RC t329
t330 : t331
	RC t330
t331 : t332
	RC t331
t332 : t333
	RC t332
t333 : t334
	RC t333
t334 : t335
	RC t334
t335 : t336
	RC t335
t336 : t337
	RC t336
t337 : t338
	RC t337
t338 : t339
	RC t338
t339 : t340
	RC t339
t340 : t341
	RC t340
t341 : t342
	RC t341
t342 : t343
	RC t342
t343 : t344
	RC t343
t344 : t345
	RC t344
t345 : t346
	RC t345
t346 : t347
	RC t346
t347 : t348
	RC t347
t348 : t349
	RC t348
t349 : t350
	RC t349
t350 : t351
	RC t350
t351 : t352
	RC t351
t352 : t353
	RC t352
t353 : t354
	RC t353
t354 : t355
	RC t354
t355 : t356
	RC t355
t356 : t357
	RC t356
t357 : t358
	RC t357
t358 : t359
	RC t358
t359 : t360
	RC t359
t360 : t361
	RC t360
t361 : t362
	RC t361
t362 : t363
	RC t362
t363 : t364
	RC t363
t364 : t365
	RC t364
t365 : t366
	RC t365
t366 : t367
	RC t366
t367 : t368
	RC t367
t368 : t369
	RC t368
t369 : t370
	RC t369
t370 : t371
	RC t370
t371 : t372
	RC t371
t372 : t373
	RC t372
t373 : t374
	RC t373
t374 : t375
	RC t374
t375 : t376
	RC t375
t376 : t377
	RC t376
t377 : t378
	RC t377
t378 : t379
	RC t378
t379 : t380
	RC t379
t380 : t381
	RC t380
t381 : t382
	RC t381
t382 : t383
	RC t382
t383 : t384
	RC t383
t384 : t385
	RC t384
t385 : t386
	RC t385
t386 : t387
	RC t386
t387 : t388
	RC t387
t388 : t389
	RC t388
t389 : t390
	RC t389
t390 : t391
	RC t390
t391 : t392
	RC t391
t392 : t393
	RC t392
t393 : t394
	RC t393
t394 : t395
	RC t394
t395 : t396
	RC t395
t396 : t397
	RC t396
t397 : t398
	RC t397
t398 : t399
	RC t398
t399 : t400
	RC t399
t400 : t401
	RC t400
t401 : t402
	RC t401
t402 : t403
	RC t402
t403 : t404
	RC t403
t404 : t405
	RC t404
t405 : t406
	RC t405
t406 : t407
	RC t406
t407 : t408
	RC t407
t408 : t409
	RC t408
t409 : t410
	RC t409
t410 : t411
	RC t410
t411 : t412
	RC t411
t412 : t413
	RC t412
t413 : t414
	RC t413
t414 : t415
	RC t414
t415 : t416
	RC t415
t416 : t417
	RC t416
t417 : t418
	RC t417
t418 : t419
	RC t418
t419 : t420
	RC t419
t420 : t421
	RC t420
t421 : t422
	RC t421
t422 : t423
	RC t422
t423 : t424
	RC t423
t424 : t425
	RC t424
t425 : t426
	RC t425
t426 : t427
	RC t426
t427 : t428
	RC t427
t428 : t429
	RC t428
t429 : t430
	RC t429
t430 : t431
	RC t430
t431 : t432
	RC t431
t432 : t433
	RC t432
t433 : t434
	RC t433
t434 : t435
	RC t434
t435 : t436
	RC t435
t436 : t437
	RC t436
t437 : t438
	RC t437
t438 : t439
	RC t438
t439 : t440
	RC t439
t440 : t441
	RC t440
t441 : t442
	RC t441
t442 : t443
	RC t442
t443 : t444
	RC t443
t444 : t445
	RC t444
t445 : t446
	RC t445
t446 : t447
	RC t446
t447 : t448
	RC t447
t448 : t449
	RC t448
t449 : t450
	RC t449
t450 : t451
	RC t450
t451 : t452
	RC t451
t452 : t453
	RC t452
t453 : t454
	RC t453
t454 : t455
	RC t454
t455 : t456
	RC t455
t456 : t457
	RC t456
t457 : t458
	RC t457
t458 : t459
	RC t458
t459 : t460
	RC t459
t460 : t461
	RC t460
t461 : t462
	RC t461
t462 : t463
	RC t462
t463 : t464
	RC t463
t464 : t465
	RC t464
t465 : t466
	RC t465
t466 : t467
	RC t466
t467 : t468
	RC t467
t468 : t469
	RC t468
t469 : t470
	RC t469
t470 : t471
	RC t470
t471 : t472
	RC t471
t472 : t473
	RC t472
t473 : t474
	RC t473
t474 : t475
	RC t474
t475 : t476
	RC t475
t476 : t477
	RC t476
t477 : t478
	RC t477
t478 : t479
	RC t478
t479 : t480
	RC t479
t480 : t481
	RC t480
t481 : t482
	RC t481
t482 : t483
	RC t482
t483 : t484
	RC t483
t484 : t485
	RC t484
t485 : t486
	RC t485
t486 : t487
	RC t486
t487 : t488
	RC t487
t488 : t489
	RC t488
t489 : t490
	RC t489
t490 : t491
	RC t490
t491 : t492
	RC t491
t492 : t493
	RC t492
t493 : t494
	RC t493
t494 : t495
	RC t494
t495 : t496
	RC t495
t496 : t497
	RC t496
t497 : t498
	RC t497
t498 : t499
	RC t498
t499 : t500
	RC t499
t500 : t501
	RC t500
t501 : t502
	RC t501
t502 : t503
	RC t502
t503 : t504
	RC t503
t504 : t505
	RC t504
t505 : t506
	RC t505
t506 : t507
	RC t506
t507 : t508
	RC t507
t508 : t509
	RC t508
t509 : t510
	RC t509
t510 : t511
	RC t510
t511 : t512
	RC t511
t512 : t513
	RC t512
t513 : t514
	RC t513
t514 : t515
	RC t514
t515 : t516
	RC t515
t516 : t517
	RC t516
t517 : t518
	RC t517
t518 : t519
	RC t518
t519 : t520
	RC t519
t520 : t521
	RC t520
t521 : t522
	RC t521
t522 : t523
	RC t522
t523 : t524
	RC t523
t524 : t525
	RC t524
t525 : t526
	RC t525
t526 : t527
	RC t526
t527 : t528
	RC t527
t528 : t529
	RC t528
t529 : t530
	RC t529
t530 : t531
	RC t530
t531 : t532
	RC t531
t532 : t533
	RC t532
t533 : t534
	RC t533
t534 : t535
	RC t534
t535 : t536
	RC t535
t536 : t537
	RC t536
t537 : t538
	RC t537
t538 : t539
	RC t538
t539 : t540
	RC t539
t540 : t541
	RC t540
t541 : t542
	RC t541
t542 : t543
	RC t542
t543 : t544
	RC t543
t544 : t545
	RC t544
t545 : t546
	RC t545
t546 : t547
	RC t546
t547 : t548
	RC t547
t548 : t549
	RC t548
t549 : t550
	RC t549
t550 : t551
	RC t550
t551 : t552
	RC t551
t552 : t553
	RC t552
t553 : t554
	RC t553
t554 : t555
	RC t554
t555 : t556
	RC t555
t556 : t557
	RC t556
t557 : t558
	RC t557
t558 : t559
	RC t558
t559 : t560
	RC t559
t560 : t561
	RC t560
t561 : t562
	RC t561
t562 : t563
	RC t562
t563 : t564
	RC t563
t564 : t565
	RC t564
t565 : t566
	RC t565
t566 : t567
	RC t566
t567 : t568
	RC t567
t568 : t569
	RC t568
t569 : t570
	RC t569
t570 : t571
	RC t570
t571 : t572
	RC t571
t572 : t573
	RC t572
t573 : t574
	RC t573
t574 : t575
	RC t574
t575 : t576
	RC t575
t576 : t577
	RC t576
t577 : t578
	RC t577
t578 : t579
	RC t578
t579 : t580
	RC t579
t580 : t581
	RC t580
t581 : t582
	RC t581
t582 : t583
	RC t582
t583 : t584
	RC t583
t584 : t585
	RC t584
t585 : t586
	RC t585
t586 : t587
	RC t586
t587 : t588
	RC t587
t588 : t589
	RC t588
t589 : t590
	RC t589
t590 : t591
	RC t590
t591 : t592
	RC t591
t592 : t593
	RC t592
t593 : t594
	RC t593
t594 : t595
	RC t594
t595 : t596
	RC t595
t596 : t597
	RC t596
t597 : t598
	RC t597
t598 : t599
	RC t598
t599 : t600
	RC t599
t600 : t601
	RC t600
t601 : t602
	RC t601
t602 : t603
	RC t602
t603 : t604
	RC t603
t604 : t605
	RC t604
t605 : t606
	RC t605
t606 : t607
	RC t606
t607 : t608
	RC t607
t608 : t609
	RC t608
t609 : t610
	RC t609
t610 : t611
	RC t610
t611 : t612
	RC t611
t612 : t613
	RC t612
t613 : t614
	RC t613
t614 : t615
	RC t614
t615 : t616
	RC t615
t616 : t617
	RC t616
t617 : t618
	RC t617
t618 : t619
	RC t618
t619 : t620
	RC t619
t620 : t621
	RC t620
t621 : t622
	RC t621
t622 : t623
	RC t622
t623 : t624
	RC t623
t624 : t625
	RC t624
t625 : t626
	RC t625
t626 : t627
	RC t626
t627 : t628
	RC t627
t628 : t629
	RC t628
t629 : t630
	RC t629
t630 : t631
	RC t630
t631 : t632
	RC t631
t632 : t633
	RC t632
t633 : t634
	RC t633
t634 : t635
	RC t634
t635 : t636
	RC t635
t636 : t637
	RC t636
t637 : t638
	RC t637
t638 : t639
	RC t638
t639 : t640
	RC t639
t640 : t641
	RC t640
t641 : t642
	RC t641
t642 : t643
	RC t642
t643 : t644
	RC t643
t644 : t645
	RC t644
t645 : t646
	RC t645
t646 : t647
	RC t646
t647 : t648
	RC t647
t648 : t649
	RC t648
t649 : t650
	RC t649
t650 : t651
	RC t650
t651 : t652
	RC t651
t652 : t653
	RC t652
t653 : t654
	RC t653
t654 : t655
	RC t654
t655 : t656
	RC t655
t656 : t657
	RC t656
t657 : t658
	RC t657
t658 : t659
	RC t658
t659 : t660
	RC t659
t660 : t661
	RC t660
t661 : t662
	RC t661
t662 : t663
	RC t662
t663 : t664
	RC t663
t664 : t665
	RC t664
t665 : t666
	RC t665
t666 : t667
	RC t666
t667 : t668
	RC t667
t668 : t669
	RC t668
t669 : t670
	RC t669
t670 : t671
	RC t670
t671 : t672
	RC t671
t672 : t673
	RC t672
t673 : t674
	RC t673
t674 : t675
	RC t674
t675 : t676
	RC t675
t676 : t677
	RC t676
t677 : t678
	RC t677
t678 : t679
	RC t678
t679 : t680
	RC t679
t680 : t681
	RC t680
t681 : t682
	RC t681
t682 : t683
	RC t682
t683 : t684
	RC t683
t684 : t685
	RC t684
t685 : t686
	RC t685
t686 : t687
	RC t686
t687 : t688
	RC t687
t688 : t689
	RC t688
t689 : t690
	RC t689
t690 : t691
	RC t690
t691 : t692
	RC t691
t692 : t693
	RC t692
t693 : t694
	RC t693
t694 : t695
	RC t694
t695 : t696
	RC t695
t696 : t697
	RC t696
t697 : t698
	RC t697
t698 : t699
	RC t698
t699 : t700
	RC t699
t700 : t701
	RC t700
t701 : t702
	RC t701
t702 : t703
	RC t702
t703 : t704
	RC t703
t704 : t705
	RC t704
t705 : t706
	RC t705
t706 : t707
	RC t706
t707 : t708
	RC t707
t708 : t709
	RC t708
t709 : t710
	RC t709
t710 : t711
	RC t710
t711 : t712
	RC t711
t712 : t713
	RC t712
t713 : t714
	RC t713
t714 : t715
	RC t714
t715 : t716
	RC t715
t716 : t717
	RC t716
t717 : t718
	RC t717
t718 : t719
	RC t718
t719 : t720
	RC t719
t720 : t721
	RC t720
t721 : t722
	RC t721
t722 : t723
	RC t722
t723 : t724
	RC t723
t724 : t725
	RC t724
t725 : t726
	RC t725
t726 : t727
	RC t726
t727 : t728
	RC t727
t728 : t729
	RC t728
t729 : t730
	RC t729
t730 : t731
	RC t730
t731 : t732
	RC t731
t732 : t733
	RC t732
t733 : t734
	RC t733
t734 : t735
	RC t734
t735 : t736
	RC t735
t736 : t737
	RC t736
t737 : t738
	RC t737
t738 : t739
	RC t738
t739 : t740
	RC t739
t740 : t741
	RC t740
t741 : t742
	RC t741
t742 : t743
	RC t742
t743 : t744
	RC t743
t744 : t745
	RC t744
t745 : t746
	RC t745
t746 : t747
	RC t746
t747 : t748
	RC t747
t748 : t749
	RC t748
t749 : t750
	RC t749
t750 : t751
	RC t750
t751 : t752
	RC t751
t752 : t753
	RC t752
t753 : t754
	RC t753
t754 : t755
	RC t754
t755 : t756
	RC t755
t756 : t757
	RC t756
t757 : t758
	RC t757
t758 : t759
	RC t758
t759 : t760
	RC t759
t760 : t761
	RC t760
t761 : t762
	RC t761
t762 : t763
	RC t762
t763 : t764
	RC t763
t764 : t765
	RC t764
t765 : t766
	RC t765
t766 : t767
	RC t766
t767 : t768
	RC t767
t768 : t769
	RC t768
t769 : t770
	RC t769
t770 : t771
	RC t770
t771 : t772
	RC t771
t772 : t773
	RC t772
t773 : t774
	RC t773
t774 : t775
	RC t774
t775 : t776
	RC t775
t776 : t777
	RC t776
t777 : t778
	RC t777
t778 : t779
	RC t778
t779 : t780
	RC t779
t780 : t781
	RC t780
t781 : t782
	RC t781
t782 : t783
	RC t782
t783 : t784
	RC t783
t784 : t785
	RC t784
t785 : t786
	RC t785
t786 : t787
	RC t786
t787 : t788
	RC t787
t788 : t789
	RC t788
t789 : t790
	RC t789
t790 : t791
	RC t790
t791 : t792
	RC t791
t792 : t793
	RC t792
t793 : t794
	RC t793
t794 : t795
	RC t794
t795 : t796
	RC t795
t796 : t797
	RC t796
t797 : t798
	RC t797
t798 : t799
	RC t798
t799 : t800
	RC t799
t800 : t801
	RC t800
t801 : t802
	RC t801
t802 : t803
	RC t802
t803 : t804
	RC t803
t804 : t805
	RC t804
t805 : t806
	RC t805
t806 : t807
	RC t806
t807 : t808
	RC t807
t808 : t809
	RC t808
t809 : t810
	RC t809
t810 : t811
	RC t810
t811 : t812
	RC t811
t812 : t813
	RC t812
t813 : t814
	RC t813
t814 : t815
	RC t814
t815 : t816
	RC t815
t816 : t817
	RC t816
t817 : t818
	RC t817
t818 : t819
	RC t818
t819 : t820
	RC t819
t820 : t821
	RC t820
t821 : t822
	RC t821
t822 : t823
	RC t822
t823 : t824
	RC t823
t824 : t825
	RC t824
t825 : t826
	RC t825
t826 : t827
	RC t826
t827 : t828
	RC t827
t828 : t829
	RC t828
t829 : t830
	RC t829
t830 : t831
	RC t830
t831 : t832
	RC t831
t832 : t833
	RC t832
t833 : t834
	RC t833
t834 : t835
	RC t834
t835 : t836
	RC t835
t836 : t837
	RC t836
t837 : t838
	RC t837
t838 : t839
	RC t838
t839 : t840
	RC t839
t840 : t841
	RC t840
t841 : t842
	RC t841
t842 : t843
	RC t842
t843 : t844
	RC t843
t844 : t845
	RC t844
t845 : t846
	RC t845
t846 : t847
	RC t846
t847 : t848
	RC t847
t848 : t849
	RC t848
t849 : t850
	RC t849
t850 : t851
	RC t850
t851 : t852
	RC t851
t852 : t853
	RC t852
t853 : t854
	RC t853
t854 : t855
	RC t854
t855 : t856
	RC t855
t856 : t857
	RC t856
t857 : t858
	RC t857
t858 : t859
	RC t858
t859 : t860
	RC t859
t860 : t861
	RC t860
t861 : t862
	RC t861
t862 : t863
	RC t862
t863 : t864
	RC t863
t864 : t865
	RC t864
t865 : t866
	RC t865
t866 : t867
	RC t866
t867 : t868
	RC t867
t868 : t869
	RC t868
t869 : t870
	RC t869
t870 : t871
	RC t870
t871 : t872
	RC t871
t872 : t873
	RC t872
t873 : t874
	RC t873
t874 : t875
	RC t874
t875 : t876
	RC t875
t876 : t877
	RC t876
t877 : t878
	RC t877
t878 : t879
	RC t878
t879 : t880
	RC t879
t880 : t881
	RC t880
t881 : t882
	RC t881
t882 : t883
	RC t882
t883 : t884
	RC t883
t884 : t885
	RC t884
t885 : t886
	RC t885
t886 : t887
	RC t886
t887 : t888
	RC t887
t888 : t889
	RC t888
t889 : t890
	RC t889
t890 : t891
	RC t890
t891 : t892
	RC t891
t892 : t893
	RC t892
t893 : t894
	RC t893
t894 : t895
	RC t894
t895 : t896
	RC t895
t896 : t897
	RC t896
t897 : t898
	RC t897
t898 : t899
	RC t898
t899 : t900
	RC t899
t900 : t901
	RC t900
t901 : t902
	RC t901
t902 : t903
	RC t902
t903 : t904
	RC t903
t904 : t905
	RC t904
t905 : t906
	RC t905
t906 : t907
	RC t906
t907 : t908
	RC t907
t908 : t909
	RC t908
t909 : t910
	RC t909
t910 : t911
	RC t910
t911 : t912
	RC t911
t912 : t913
	RC t912
t913 : t914
	RC t913
t914 : t915
	RC t914
t915 : t916
	RC t915
t916 : t917
	RC t916
t917 : t918
	RC t917
t918 : t919
	RC t918
t919 : t920
	RC t919
t920 : t921
	RC t920
t921 : t922
	RC t921
t922 : t923
	RC t922
t923 : t924
	RC t923
t924 : t925
	RC t924
t925 : t926
	RC t925
t926 : t927
	RC t926
t927 : t928
	RC t927
t928 : t929
	RC t928
t929 : t930
	RC t929
t930 : t931
	RC t930
t931 : t932
	RC t931
t932 : t933
	RC t932
t933 : t934
	RC t933
t934 : t935
	RC t934
t935 : t936
	RC t935
t936 : t937
	RC t936
t937 : t938
	RC t937
t938 : t939
	RC t938
t939 : t940
	RC t939
t940 : t941
	RC t940
t941 : t942
	RC t941
t942 : t943
	RC t942
t943 : t944
	RC t943
t944 : t945
	RC t944
t945 : t946
	RC t945
t946 : t947
	RC t946
t947 : t948
	RC t947
t948 : t949
	RC t948
t949 : t950
	RC t949
t950 : t951
	RC t950
t951 : t952
	RC t951
t952 : t953
	RC t952
t953 : t954
	RC t953
t954 : t955
	RC t954
t955 : t956
	RC t955
t956 : t957
	RC t956
t957 : t958
	RC t957
t958 : t959
	RC t958
t959 : t960
	RC t959
t960 : t961
	RC t960
t961 : t962
	RC t961
t962 : t963
	RC t962
t963 : t964
	RC t963
t964 : t965
	RC t964
t965 : t966
	RC t965
t966 : t967
	RC t966
t967 : t968
	RC t967
t968 : t969
	RC t968
t969 : t970
	RC t969
t970 : t971
	RC t970
t971 : t972
	RC t971
t972 : t973
	RC t972
t973 : t974
	RC t973
t974 : t975
	RC t974
t975 : t976
	RC t975
t976 : t977
	RC t976
t977 : t978
	RC t977
t978 : t979
	RC t978
t979 : t980
	RC t979
t980 : t981
	RC t980
t981 : t982
	RC t981
t982 : t983
	RC t982
t983 : t984
	RC t983
t984 : t985
	RC t984
t985 : t986
	RC t985
t986 : t987
	RC t986
t987 : t988
	RC t987
t988 : t989
	RC t988
t989 : t990
	RC t989
t990 : t991
	RC t990
t991 : t992
	RC t991
t992 : t993
	RC t992
t993 : t994
	RC t993
t994 : t995
	RC t994
t995 : t996
	RC t995
t996 : t997
	RC t996
t997 : t998
	RC t997
t998 : t999
	RC t998
t999 : t1000
	RC t999
t1000 : t1001
	RC t1000
t1001 : t1002
	RC t1001
t1002 : t1003
	RC t1002
t1003 : t1004
	RC t1003
t1004 : t1005
	RC t1004
t1005 : t1006
	RC t1005
t1006 : t1007
	RC t1006
t1007 : t1008
	RC t1007
t1008 : t1009
	RC t1008
t1009 : t1010
	RC t1009
t1010 : t1011
	RC t1010
t1011 : t1012
	RC t1011
t1012 : t1013
	RC t1012
t1013 : t1014
	RC t1013
t1014 : t1015
	RC t1014
t1015 : t1016
	RC t1015
t1016 : t1017
	RC t1016
t1017 : t1018
	RC t1017
t1018 : t1019
	RC t1018
t1019 : t1020
	RC t1019
t1020 : t1021
	RC t1020
t1021 : t1022
	RC t1021
t1022 : t1023
	RC t1022
t1023 : t1024
	RC t1023
t1024 : t1025
	RC t1024
t1025 : t1026
	RC t1025
t1026 : t1027
	RC t1026
t1027 : t1028
	RC t1027
t1028 : t1029
	RC t1028
t1029 : t1030
	RC t1029
t1030 : t1031
	RC t1030
t1031 : t1032
	RC t1031
t1032 : t1033
	RC t1032
t1033 : t1034
	RC t1033
t1034 : t1035
	RC t1034
t1035 : t1036
	RC t1035
t1036 : t1037
	RC t1036
t1037 : t1038
	RC t1037
t1038 : t1039
	RC t1038
t1039 : t1040
	RC t1039
t1040 : t1041
	RC t1040
t1041 : t1042
	RC t1041
t1042 : t1043
	RC t1042
t1043 : t1044
	RC t1043
t1044 : t1045
	RC t1044
t1045 : t1046
	RC t1045
t1046 : t1047
	RC t1046
t1047 : t1048
	RC t1047
t1048 : t1049
	RC t1048
t1049 : t1050
	RC t1049
t1050 : t1051
	RC t1050
t1051 : t1052
	RC t1051
t1052 : t1053
	RC t1052
t1053 : t1054
	RC t1053
t1054 : t1055
	RC t1054
t1055 : t1056
	RC t1055
t1056 : t1057
	RC t1056
t1057 : t1058
	RC t1057
t1058 : t1059
	RC t1058
t1059 : t1060
	RC t1059
t1060 : t1061
	RC t1060
t1061 : t1062
	RC t1061
t1062 : t1063
	RC t1062
t1063 : t1064
	RC t1063
t1064 : t1065
	RC t1064
t1065 : t1066
	RC t1065
t1066 : t1067
	RC t1066
t1067 : t1068
	RC t1067
t1068 : t1069
	RC t1068
t1069 : t1070
	RC t1069
t1070 : t1071
	RC t1070
t1071 : t1072
	RC t1071
t1072 : t1073
	RC t1072
t1073 : t1074
	RC t1073
t1074 : t1075
	RC t1074
t1075 : t1076
	RC t1075
t1076 : t1077
	RC t1076
t1077 : t1078
	RC t1077
t1078 : t1079
	RC t1078
t1079 : t1080
	RC t1079
t1080 : t1081
	RC t1080
t1081 : t1082
	RC t1081
t1082 : t1083
	RC t1082
t1083 : t1084
	RC t1083
t1084 : t1085
	RC t1084
t1085 : t1086
	RC t1085
t1086 : t1087
	RC t1086
t1087 : t1088
	RC t1087
t1088 : t1089
	RC t1088
t1089 : t1090
	RC t1089
t1090 : t1091
	RC t1090
t1091 : t1092
	RC t1091
t1092 : t1093
	RC t1092
t1093 : t1094
	RC t1093
t1094 : t1095
	RC t1094
t1095 : t1096
	RC t1095
t1096 : t1097
	RC t1096
t1097 : t1098
	RC t1097
t1098 : t1099
	RC t1098
t1099 : t1100
	RC t1099
t1100 : t1101
	RC t1100
t1101 : t1102
	RC t1101
t1102 : t1103
	RC t1102
t1103 : t1104
	RC t1103
t1104 : t1105
	RC t1104
t1105 : t1106
	RC t1105
t1106 : t1107
	RC t1106
t1107 : t1108
	RC t1107
t1108 : t1109
	RC t1108
t1109 : t1110
	RC t1109
t1110 : t1111
	RC t1110
t1111 : t1112
	RC t1111
t1112 : t1113
	RC t1112
t1113 : t1114
	RC t1113
t1114 : t1115
	RC t1114
t1115 : t1116
	RC t1115
t1116 : t1117
	RC t1116
t1117 : t1118
	RC t1117
t1118 : t1119
	RC t1118
t1119 : t1120
	RC t1119
t1120 : t1121
	RC t1120
t1121 : t1122
	RC t1121
t1122 : t1123
	RC t1122
t1123 : t1124
	RC t1123
t1124 : t1125
	RC t1124
t1125 : t1126
	RC t1125
t1126 : t1127
	RC t1126
t1127 : t1128
	RC t1127
t1128 : t1129
	RC t1128
t1129 : t1130
	RC t1129
t1130 : t1131
	RC t1130
t1131 : t1132
	RC t1131
t1132 : t1133
	RC t1132
t1133 : t1134
	RC t1133
t1134 : t1135
	RC t1134
t1135 : t1136
	RC t1135
t1136 : t1137
	RC t1136
t1137 : t1138
	RC t1137
t1138 : t1139
	RC t1138
t1139 : t1140
	RC t1139
t1140 : t1141
	RC t1140
t1141 : t1142
	RC t1141
t1142 : t1143
	RC t1142
t1143 : t1144
	RC t1143
t1144 : t1145
	RC t1144
t1145 : t1146
	RC t1145
t1146 : t1147
	RC t1146
t1147 : t1148
	RC t1147
t1148 : t1149
	RC t1148
t1149 : t1150
	RC t1149
t1150 : t1151
	RC t1150
t1151 : t1152
	RC t1151
t1152 : t1153
	RC t1152
t1153 : t1154
	RC t1153
t1154 : t1155
	RC t1154
t1155 : t1156
	RC t1155
t1156 : t1157
	RC t1156
t1157 : t1158
	RC t1157
t1158 : t1159
	RC t1158
t1159 : t1160
	RC t1159
t1160 : t1161
	RC t1160
t1161 : t1162
	RC t1161
t1162 : t1163
	RC t1162
t1163 : t1164
	RC t1163
t1164 : t1165
	RC t1164
t1165 : t1166
	RC t1165
t1166 : t1167
	RC t1166
t1167 : t1168
	RC t1167
t1168 : t1169
	RC t1168
t1169 : t1170
	RC t1169
t1170 : t1171
	RC t1170
t1171 : t1172
	RC t1171
t1172 : t1173
	RC t1172
t1173 : t1174
	RC t1173
t1174 : t1175
	RC t1174
t1175 : t1176
	RC t1175
t1176 : t1177
	RC t1176
t1177 : t1178
	RC t1177
t1178 : t1179
	RC t1178
t1179 : t1180
	RC t1179
t1180 : t1181
	RC t1180
t1181 : t1182
	RC t1181
t1182 : t1183
	RC t1182
t1183 : t1184
	RC t1183
t1184 : t1185
	RC t1184
t1185 : t1186
	RC t1185
t1186 : t1187
	RC t1186
t1187 : t1188
	RC t1187
t1188 : t1189
	RC t1188
t1189 : t1190
	RC t1189
t1190 : t1191
	RC t1190
t1191 : t1192
	RC t1191
t1192 : t1193
	RC t1192
t1193 : t1194
	RC t1193
t1194 : t1195
	RC t1194
t1195 : t1196
	RC t1195
t1196 : t1197
	RC t1196
t1197 : t1198
	RC t1197
t1198 : t1199
	RC t1198
t1199 : t1200
	RC t1199
t1200 : t1201
	RC t1200
t1201 : t1202
	RC t1201
t1202 : t1203
	RC t1202
t1203 : t1204
	RC t1203
t1204 : t1205
	RC t1204
t1205 : t1206
	RC t1205
t1206 : t1207
	RC t1206
t1207 : t1208
	RC t1207
t1208 : t1209
	RC t1208
t1209 : t1210
	RC t1209
t1210 : t1211
	RC t1210
t1211 : t1212
	RC t1211
t1212 : t1213
	RC t1212
t1213 : t1214
	RC t1213
t1214 : t1215
	RC t1214
t1215 : t1216
	RC t1215
t1216 : t1217
	RC t1216
t1217 : t1218
	RC t1217
t1218 : t1219
	RC t1218
t1219 : t1220
	RC t1219
t1220 : t1221
	RC t1220
t1221 : t1222
	RC t1221
t1222 : t1223
	RC t1222
t1223 : t1224
	RC t1223
t1224 : t1225
	RC t1224
t1225 : t1226
	RC t1225
t1226 : t1227
	RC t1226
t1227 : t1228
	RC t1227
t1228 : t1229
	RC t1228
t1229 : t1230
	RC t1229
t1230 : t1231
	RC t1230
t1231 : t1232
	RC t1231
t1232 : t1233
	RC t1232
t1233 : t1234
	RC t1233
t1234 : t1235
	RC t1234
t1235 : t1236
	RC t1235
t1236 : t1237
	RC t1236
t1237 : t1238
	RC t1237
t1238 : t1239
	RC t1238
t1239 : t1240
	RC t1239
t1240 : t1241
	RC t1240
t1241 : t1242
	RC t1241
t1242 : t1243
	RC t1242
t1243 : t1244
	RC t1243
t1244 : t1245
	RC t1244
t1245 : t1246
	RC t1245
t1246 : t1247
	RC t1246
t1247 : t1248
	RC t1247
t1248 : t1249
	RC t1248
t1249 : t1250
	RC t1249
t1250 : t1251
	RC t1250
t1251 : t1252
	RC t1251
t1252 : t1253
	RC t1252
t1253 : t1254
	RC t1253
t1254 : t1255
	RC t1254
t1255 : t1256
	RC t1255
t1256 : t1257
	RC t1256
t1257 : t1258
	RC t1257
t1258 : t1259
	RC t1258
t1259 : t1260
	RC t1259
t1260 : t1261
	RC t1260
t1261 : t1262
	RC t1261
t1262 : t1263
	RC t1262
t1263 : t1264
	RC t1263
t1264 : t1265
	RC t1264
t1265 : t1266
	RC t1265
t1266 : t1267
	RC t1266
t1267 : t1268
	RC t1267
t1268 : t1269
	RC t1268
t1269 : t1270
	RC t1269
t1270 : t1271
	RC t1270
t1271 : t1272
	RC t1271
t1272 : t1273
	RC t1272
t1273 : t1274
	RC t1273
t1274 : t1275
	RC t1274
t1275 : t1276
	RC t1275
t1276 : t1277
	RC t1276
t1277 : t1278
	RC t1277
t1278 : t1279
	RC t1278
t1279 : t1280
	RC t1279
t1280 : t1281
	RC t1280
t1281 : t1282
	RC t1281
t1282 : t1283
	RC t1282
t1283 : t1284
	RC t1283
t1284 : t1285
	RC t1284
t1285 : t1286
	RC t1285
t1286 : t1287
	RC t1286
t1287 : t1288
	RC t1287
t1288 : t1289
	RC t1288
t1289 : t1290
	RC t1289
t1290 : t1291
	RC t1290
t1291 : t1292
	RC t1291
t1292 : t1293
	RC t1292
t1293 : t1294
	RC t1293
t1294 : t1295
	RC t1294
t1295 : t1296
	RC t1295
t1296 : t1297
	RC t1296
t1297 : t1298
	RC t1297
t1298 : t1299
	RC t1298
t1299 : t1300
	RC t1299
t1300 : t1301
	RC t1300
t1301 : t1302
	RC t1301
t1302 : t1303
	RC t1302
t1303 : t1304
	RC t1303
t1304 : t1305
	RC t1304
t1305 : t1306
	RC t1305
t1306 : t1307
	RC t1306
t1307 : t1308
	RC t1307
t1308 : t1309
	RC t1308
t1309 : t1310
	RC t1309
t1310 : t1311
	RC t1310
t1311 : t1312
	RC t1311
t1312 : t1313
	RC t1312
t1313 : t1314
	RC t1313
t1314 : t1315
	RC t1314
t1315 : t1316
	RC t1315
t1316 : t1317
	RC t1316
t1317 : t1318
	RC t1317
t1318 : t1319
	RC t1318
t1319 : t1320
	RC t1319
t1320 : t1321
	RC t1320
t1321 : t1322
	RC t1321
t1322 : t1323
	RC t1322
t1323 : t1324
	RC t1323
t1324 : t1325
	RC t1324
t1325 : t1326
	RC t1325
t1326 : t1327
	RC t1326
t1327 : t1328
	RC t1327
t1328 : t1329
	RC t1328
t1329 : t1330
	RC t1329
t1330 : t1331
	RC t1330
t1331 : t1332
	RC t1331
t1332 : t1333
	RC t1332
t1333 : t1334
	RC t1333
t1334 : t1335
	RC t1334
t1335 : t1336
	RC t1335
t1336 : t1337
	RC t1336
t1337 : t1338
	RC t1337
t1338 : t1339
	RC t1338
t1339 : t1340
	RC t1339
t1340 : t1341
	RC t1340
t1341 : t1342
	RC t1341
t1342 : t1343
	RC t1342
t1343 : t1344
	RC t1343
t1344 : t1345
	RC t1344
t1345 : t1346
	RC t1345
t1346 : t1347
	RC t1346
t1347 : t1348
	RC t1347
t1348 : t1349
	RC t1348
t1349 : t1350
	RC t1349
t1350 : t1351
	RC t1350
t1351 : t1352
	RC t1351
t1352 : t1353
	RC t1352
t1353 : t1354
	RC t1353
t1354 : t1355
	RC t1354
t1355 : t1356
	RC t1355
t1356 : t1357
	RC t1356
t1357 : t1358
	RC t1357
t1358 : t1359
	RC t1358
t1359 : t1360
	RC t1359
t1360 : t1361
	RC t1360
t1361 : t1362
	RC t1361
t1362 : t1363
	RC t1362
t1363 : t1364
	RC t1363
t1364 : t1365
	RC t1364
t1365 : t1366
	RC t1365
t1366 : t1367
	RC t1366
t1367 : t1368
	RC t1367
t1368 : t1369
	RC t1368
t1369 : t1370
	RC t1369
t1370 : t1371
	RC t1370
t1371 : t1372
	RC t1371
t1372 : t1373
	RC t1372
t1373 : t1374
	RC t1373
t1374 : t1375
	RC t1374
t1375 : t1376
	RC t1375
t1376 : t1377
	RC t1376
t1377 : t1378
	RC t1377
t1378 : t1379
	RC t1378
t1379 : t1380
	RC t1379
t1380 : t1381
	RC t1380
t1381 : t1382
	RC t1381
t1382 : t1383
	RC t1382
t1383 : t1384
	RC t1383
t1384 : t1385
	RC t1384
t1385 : t1386
	RC t1385
t1386 : t1387
	RC t1386
t1387 : t1388
	RC t1387
t1388 : t1389
	RC t1388
t1389 : t1390
	RC t1389
t1390 : t1391
	RC t1390
t1391 : t1392
	RC t1391
t1392 : t1393
	RC t1392
t1393 : t1394
	RC t1393
t1394 : t1395
	RC t1394
t1395 : t1396
	RC t1395
t1396 : t1397
	RC t1396
t1397 : t1398
	RC t1397
t1398 : t1399
	RC t1398
t1399 : t1400
	RC t1399
t1400 : t1401
	RC t1400
t1401 : t1402
	RC t1401
t1402 : t1403
	RC t1402
t1403 : t1404
	RC t1403
t1404 : t1405
	RC t1404
t1405 : t1406
	RC t1405
t1406 : t1407
	RC t1406
t1407 : t1408
	RC t1407
t1408 : t1409
	RC t1408
t1409 : t1410
	RC t1409
t1410 : t1411
	RC t1410
t1411 : t1412
	RC t1411
t1412 : t1413
	RC t1412
t1413 : t1414
	RC t1413
t1414 : t1415
	RC t1414
t1415 : t1416
	RC t1415
t1416 : t1417
	RC t1416
t1417 : t1418
	RC t1417
t1418 : t1419
	RC t1418
t1419 : t1420
	RC t1419
t1420 : t1421
	RC t1420
t1421 : t1422
	RC t1421
t1422 : t1423
	RC t1422
t1423 : t1424
	RC t1423
t1424 : t1425
	RC t1424
t1425 : t1426
	RC t1425
t1426 : t1427
	RC t1426
t1427 : t1428
	RC t1427
t1428 : t1429
	RC t1428
t1429 : t1430
	RC t1429
t1430 : t1431
	RC t1430
t1431 : t1432
	RC t1431
t1432 : t1433
	RC t1432
t1433 : t1434
	RC t1433
t1434 : t1435
	RC t1434
t1435 : t1436
	RC t1435
t1436 : t1437
	RC t1436
t1437 : t1438
	RC t1437
t1438 : t1439
	RC t1438
t1439 : t1440
	RC t1439
t1440 : t1441
	RC t1440
t1441 : t1442
	RC t1441
t1442 : t1443
	RC t1442
t1443 : t1444
	RC t1443
t1444 : t1445
	RC t1444
t1445 : t1446
	RC t1445
t1446 : t1447
	RC t1446
t1447 : t1448
	RC t1447
t1448 : t1449
	RC t1448
t1449 : t1450
	RC t1449
t1450 : t1451
	RC t1450
t1451 : t1452
	RC t1451
t1452 : t1453
	RC t1452
t1453 : t1454
	RC t1453
t1454 : t1455
	RC t1454
t1455 : t1456
	RC t1455
t1456 : t1457
	RC t1456
t1457 : t1458
	RC t1457
t1458 : t1459
	RC t1458
t1459 : t1460
	RC t1459
t1460 : t1461
	RC t1460
t1461 : t1462
	RC t1461
t1462 : t1463
	RC t1462
t1463 : t1464
	RC t1463
t1464 : t1465
	RC t1464
t1465 : t1466
	RC t1465
t1466 : t1467
	RC t1466
t1467 : t1468
	RC t1467
t1468 : t1469
	RC t1468
t1469 : t1470
	RC t1469
t1470 : t1471
	RC t1470
t1471 : t1472
	RC t1471
t1472 : t1473
	RC t1472
t1473 : t1474
	RC t1473
t1474 : t1475
	RC t1474
t1475 : t1476
	RC t1475
t1476 : t1477
	RC t1476
t1477 : t1478
	RC t1477
t1478 : t1479
	RC t1478
t1479 : t1480
	RC t1479
t1480 : t1481
	RC t1480
t1481 : t1482
	RC t1481
t1482 : t1483
	RC t1482
t1483 : t1484
	RC t1483
t1484 : t1485
	RC t1484
t1485 : t1486
	RC t1485
t1486 : t1487
	RC t1486
t1487 : t1488
	RC t1487
t1488 : t1489
	RC t1488
t1489 : t1490
	RC t1489
t1490 : t1491
	RC t1490
t1491 : t1492
	RC t1491
t1492 : t1493
	RC t1492
t1493 : t1494
	RC t1493
t1494 : t1495
	RC t1494
t1495 : t1496
	RC t1495
t1496 : t1497
	RC t1496
t1497 : t1498
	RC t1497
t1498 : t1499
	RC t1498
t1499 : t1500
	RC t1499
